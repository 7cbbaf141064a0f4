#!/usr/bin/env python3
"""Prints the reference lines of references.txt for the runs of runs.txt: each run once
through Rankora for its permutation counts, then references.R computes every reference in
R from the data file and those counts. Review the lines before keeping them.

Usage: make_references.py RANKORA SOURCE_DIR RUNS_TABLE
"""
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

from check_outputs import rows


def reader(path):
    if not path.endswith(".csv"):
        return "table"
    with open(path, encoding="utf-8-sig") as f:
        header = f.readline()
    return "csv2" if header.count(";") > header.count(",") else "csv"


def main():
    rankora, source, runs = sys.argv[1:4]
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "references.R")
    for name, data, options in rows(runs):
        words = shlex.split(options)
        with tempfile.TemporaryDirectory() as scratch:
            shutil.copy(os.path.join(source, data), scratch)
            data_file = os.path.basename(data)
            subprocess.run([rankora, "-q", *words, "--csv", "j.csv", "--json", "r.json",
                            data_file], cwd=scratch, check=True)
            with open(os.path.join(scratch, "r.json"), encoding="utf-8") as f:
                run = json.load(f)
            subprocess.run(["Rscript", script, name, data_file, reader(os.path.join(scratch, data_file)),
                            run["input"]["judges_are"], run["input"]["ties"],
                            str(run["input"]["permutations"]),
                            str(run["global"]["permutation_count"]), "j.csv"],
                           cwd=scratch, check=True)


if __name__ == "__main__":
    main()
