#!/usr/bin/env python3
"""Runs Rankora with --csv, --json and --svg on the runs of a table and reads what it wrote
as a user's script would: the CSV with Python's csv, the JSON with json, the SVG as XML.
Every figure must agree with the report to the report's digits, with the other outputs
exactly, and with the references kept as data (computed in R; see references.txt).

Usage: check_outputs.py RANKORA SOURCE_DIR RUNS_TABLE REFERENCES_TABLE
A run is a line: its name | the data file (from the source tree) | the options.
"""
import csv
import json
import math
import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

CSV_COLUMNS = ["judge", "name", "rbar", "W", "p", "p_bonferroni", "p_holm", "null_variance",
               "W_without", "p_low", "p_high"]

failures = []


def fail(run, what):
    failures.append(f"{run}: {what}")


def rows(path):
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.lstrip().startswith("#"):
                yield [field.strip() for field in line.rstrip("\n").split("|")]


def fixed(x, digits=5):
    """A figure as the report writes it (Fw.d, rounded half to even on the exact double)."""
    return "NaN" if x is None else f"{x:.{digits}f}"


def read_report(path):
    """The report's figures as printed: chi-square, W, p, and the judge table in order."""
    report = {"judges": []}
    with open(path, encoding="latin-1") as f:
        lines = f.read().split("\n")
    for line in lines:
        words = line.split()
        if "=" in line and ("Chi-square" in line or "Khi-carre" in line):
            report["chi_square"] = line.split("=")[1].split()[0]
        elif "=" in line and ("Kendall's W" in line or "W de Kendall" in line):
            report["W"] = line.split("=")[1].split()[0]
        elif "perm.) =" in line:
            report["p"] = line.split("=")[1].strip()
        elif len(words) in (6, 7) and words[0].isdigit() and line[:4].strip() == words[0]:
            report["judges"].append({"judge": int(words[0]), "rbar": words[1], "W": words[2],
                                     "p": words[3], "p_bonferroni": words[4],
                                     "p_holm": words[5], "marked": len(words) == 7})
    return report


def capped(text):
    """The report's uncapped adjusted probability, capped at 1 to the report's digits."""
    return text if float(text) <= 1 else "1.00000"


def number(field):
    return None if field in ("", "NaN") else float(field)


def check_csv(run, path, report, doc):
    with open(path, newline="", encoding="utf-8") as f:
        reader = csv.DictReader(f)
        table = list(reader)
        if reader.fieldnames != CSV_COLUMNS:
            fail(run, f"CSV header {reader.fieldnames}")
    if [int(r["judge"]) for r in table] != [j["judge"] for j in report["judges"]]:
        fail(run, "CSV judges not in the report's order")
    for row, printed, entry in zip(table, report["judges"], doc["judges"]):
        for column in ("rbar", "W", "p"):
            if fixed(number(row[column])) != printed[column]:
                fail(run, f"CSV judge {row['judge']} {column} {row[column]}, report {printed[column]}")
        for column in ("p_bonferroni", "p_holm"):
            if fixed(number(row[column])) != capped(printed[column]):
                fail(run, f"CSV judge {row['judge']} {column} {row[column]}, report {printed[column]}")
        if (row["null_variance"] == "true") != printed["marked"]:
            fail(run, f"CSV judge {row['judge']} null_variance {row['null_variance']}")
        # The same doubles in both outputs, to the last bit.
        for column in ("rbar", "W", "p", "p_bonferroni", "p_holm", "W_without"):
            if number(row[column]) != entry[column]:
                fail(run, f"judge {row['judge']} {column}: CSV {row[column]}, JSON {entry[column]}")
        interval = entry["p_interval_99"]
        if [number(row["p_low"]), number(row["p_high"])] != (interval or [None, None]):
            fail(run, f"judge {row['judge']} interval: CSV {row['p_low']} {row['p_high']}, JSON {interval}")
        if row["name"] != (entry["name"] or ""):
            fail(run, f"judge {row['judge']} name: CSV {row['name']!r}, JSON {entry['name']!r}")


def check_json(run, doc, report, stderr):
    g, nperm = doc["global"], doc["input"]["permutations"]
    if fixed(g["W"]) != report["W"] or fixed(g["chi_square"]) != report["chi_square"]:
        fail(run, f"JSON W {g['W']} chi-square {g['chi_square']}, report {report['W']} {report['chi_square']}")
    if fixed(g["p"]) != report["p"] or g["p"] != (g["permutation_count"] + 1) / (nperm + 1):
        fail(run, f"JSON p {g['p']} count {g['permutation_count']}, report {report['p']}")
    tied = doc["input"]["ties"] == "corrected"
    if g["W"] != (g["W_corrected"] if tied else g["W_uncorrected"]):
        fail(run, "JSON W is not the chosen tie option's")
    m, n = doc["input"]["judges"], doc["input"]["objects"]
    if (g["df"], g["F_df1"], g["F_df2"]) != (n - 1, n - 1, (n - 1) * (m - 1)):
        fail(run, f"JSON degrees of freedom {g['df']} {g['F_df1']} {g['F_df2']}")
    if g["W"] is not None and g["W"] < 1 and not math.isclose(g["F"], (m - 1) * g["W"] / (1 - g["W"]), rel_tol=1e-15):
        fail(run, f"JSON F {g['F']}")
    entries = [(g["permutation_count"], g["p_interval_99"])]
    entries += [(j["permutation_count"], j["p_interval_99"]) for j in doc["judges"]]
    for count, interval in entries:
        if nperm == 0:
            if interval is not None:
                fail(run, "an interval without permutations")
        elif not interval[0] <= count / nperm <= interval[1]:
            fail(run, f"interval {interval} misses {count}/{nperm}")
    for entry, printed in zip(doc["judges"], report["judges"]):
        if entry["p"] != (entry["permutation_count"] + 1) / (nperm + 1) or fixed(entry["p"]) != printed["p"]:
            fail(run, f"JSON judge {entry['judge']} p {entry['p']}")
    given = [line for line in stderr.splitlines() if line.startswith("rankora: ")]
    if doc["warnings"] != given:
        fail(run, f"JSON warnings {doc['warnings']}, the error stream {given}")


def check_svg(run, path, report, doc):
    root = ET.parse(path).getroot()
    if root.tag != "{http://www.w3.org/2000/svg}svg":
        fail(run, f"SVG root {root.tag}")
    elements = list(root.iter("{http://www.w3.org/2000/svg}text"))
    texts = [t.text or "" for t in elements]
    if not any(t.startswith(f"p = {report['p']} (") for t in texts):
        fail(run, f"the SVG does not state p = {report['p']}")
    if not any(f" = {report['W']};" in t and t.endswith(f" = {report['chi_square']}, nu = {doc['input']['objects'] - 1}")
               for t in texts):
        fail(run, f"the SVG does not state W = {report['W']} and chi-square = {report['chi_square']}")
    # A row per judge (up to 60): its W(j) and Holm p in the columns at x 715 and 790.
    if len(report["judges"]) <= 60:
        def column(x, heading):
            cells = [t.text for t in elements if t.get("x") == x]
            return cells[cells.index(heading) + 1:] if heading in cells else cells
        holm = "p de Holm" if doc["input"]["language"] == "fr" else "Holm p"
        if column("715", "W(j)") != [j["W"] for j in report["judges"]]:
            fail(run, f"the SVG's W(j) {column('715', 'W(j)')}")
        if column("790", holm) != [capped(j["p_holm"]) for j in report["judges"]]:
            fail(run, f"the SVG's Holm p {column('790', holm)}")
    french = doc["input"]["language"] == "fr"
    if any(t.startswith("Test global") for t in texts) != french:
        fail(run, "the SVG is not in the run's language")


def check_references(run, doc, references):
    for name, pointer, value, how in references:
        if name != run:
            continue
        # "judge J/field" is judge J's entry, wherever the report's order put it.
        where, field = pointer.split("/")
        if where.startswith("judge "):
            at = next(j for j in doc["judges"] if j["judge"] == int(where.split()[1]))[field]
        else:
            at = doc[where][field]
        got = at if isinstance(at, list) else [at]
        want = [float(v) for v in value.split()]
        if len(got) != len(want) or not all(
                g is not None and math.isclose(g, w, rel_tol=1e-12, abs_tol=1e-300)
                for g, w in zip(got, want)):
            fail(run, f"{pointer} = {at}, reference {value} ({how})")


def main():
    rankora, source, runs, references = sys.argv[1:5]
    references = list(rows(references))
    ran = 0
    for name, data, options in rows(runs):
        with tempfile.TemporaryDirectory() as scratch:
            shutil.copy(os.path.join(source, data), scratch)
            command = [rankora, *shlex.split(options), "--csv", "judges.csv", "--json",
                       "results.json", "--svg", "picture.svg", os.path.basename(data)]
            done = subprocess.run(command, cwd=scratch, capture_output=True, text=True)
            if done.returncode != 0:
                fail(name, f"exit status {done.returncode}: {done.stderr}")
                continue
            report = read_report(os.path.join(scratch, "Rankora.out"))
            with open(os.path.join(scratch, "results.json"), encoding="utf-8") as f:
                doc = json.load(f)
            check_json(name, doc, report, done.stderr)
            check_csv(name, os.path.join(scratch, "judges.csv"), report, doc)
            check_svg(name, os.path.join(scratch, "picture.svg"), report, doc)
            check_references(name, doc, references)
            ran += 1
    for failure in failures:
        print(failure)
    print(f"{ran} runs, {len(failures)} disagreements")
    return 1 if failures or ran == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
