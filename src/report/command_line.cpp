#include "report/command_line.hpp"

#include <initializer_list>

#include "report/language.hpp"

namespace rankora::report {
namespace {

using Kind = TableProblem::Kind;

constexpr std::string_view kPrefix = "rankora: ";

struct Text {
  std::string_view fr;
  std::string_view en;
};

std::string_view in(int lang, const Text& text) { return french(lang) ? text.fr : text.en; }

// The sentence with {1}, {2}... replaced by the arguments, in order.
std::string fill(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool placeholder = pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}';
    const auto k = placeholder ? static_cast<std::size_t>(pattern[i + 1] - '1') : args.size();
    if (k < args.size()) {
      out.append(args.begin()[k]);
      i += 2;
    } else {
      out.push_back(pattern[i]);
    }
  }
  return out;
}

std::string fill(int lang, const Text& text, std::initializer_list<std::string_view> args) {
  return fill(in(lang, text), args);
}

std::string line(std::string_view text) { return std::string(kPrefix).append(text); }

std::string number(std::int64_t value) { return std::to_string(value); }

// A field's text between quotes, its control bytes (a carriage return, a NUL) as escapes.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7f) {
      out.push_back(c);
      continue;
    }
    constexpr char kHex[] = "0123456789abcdef";
    out.append(c == '\t'   ? "\\t"
               : c == '\r' ? "\\r"
                           : std::string{'\\', 'x', kHex[byte >> 4], kHex[byte & 15]});
  }
  return out + "\"";
}

std::string count_of(int lang, std::int64_t count, const Text& one, const Text& many) {
  return fill(count == 1 ? in(lang, one) : in(lang, many), {number(count)});
}

std::string judges(int lang, std::int64_t count) {
  return count_of(lang, count, {"{1} juge", "{1} judge"}, {"{1} juges", "{1} judges"});
}

std::string objects(int lang, std::int64_t count) {
  return count_of(lang, count, {"{1} objet", "{1} object"}, {"{1} objets", "{1} objects"});
}

std::string values(int lang, std::int64_t count) {
  return count_of(lang, count, {"{1} valeur", "{1} value"}, {"{1} valeurs", "{1} values"});
}

std::string_view separator_name(int lang, char separator) {
  switch (separator) {
    case ';':
      return in(lang, {"des points-virgules", "semicolons"});
    case ',':
      return in(lang, {"des virgules", "commas"});
    case '\t':
      return in(lang, {"des tabulations", "tabs"});
    default:
      return in(lang, {"des blancs et des tabulations", "blanks and tabs"});
  }
}

std::string_view orientation(int lang, JudgesAre judges_are) {
  return judges_are == JudgesAre::Rows
             ? in(lang, {"les juges en lignes", "the judges as rows"})
             : in(lang, {"les juges en colonnes", "the judges as columns"});
}

// "data.csv, line 4, field 7: "
std::string place(int lang, std::string_view fname, const TableProblem& p) {
  return fill(lang, {"{1}, ligne {2}, champ {3}: ", "{1}, line {2}, field {3}: "},
              {fname, number(p.line), number(p.field)});
}

// " (judge 3, object 6)", where the table has them.
std::string judge_and_object(int lang, const TableProblem& p) {
  if (p.judge == 0) return {};
  return fill(lang, {" (juge {1}, objet {2})", " (judge {1}, object {2})"},
              {number(p.judge), number(p.object)});
}

std::string not_a_number(int lang, std::string_view fname, const TableProblem& p) {
  std::string text =
      place(lang, fname, p) +
      fill(lang,
           {"{1} n'est pas un nombre{2}. Chaque valeur doit etre un nombre; des noms ne peuvent "
            "figurer qu'en premiere ligne et en premiere colonne.",
            "{1} is not a number{2}. Every value must be a number; names can stand only in the "
            "first line and the first column."},
           {quoted(p.text), judge_and_object(lang, p)});
  // A value that holds what separates values elsewhere: the file's separator is not the
  // one its writer meant.
  if (p.text.find_first_of(" \t,;") != std::string::npos) {
    text += fill(lang,
                 {" Les valeurs de ce fichier sont separees par {1}, comme le montrent ses "
                  "premieres lignes.",
                  " Values in this file are separated by {1}, as its first lines show."},
                 {separator_name(lang, p.separator)});
    if (p.separator == ',' && p.text.find(' ') != std::string::npos) {
      text += in(lang, {" Des virgules decimales ne s'y lisent pas: utilisez des points "
                        "decimaux, ou des points-virgules entre les valeurs.",
                        " Decimal commas cannot be read there: use decimal points, or "
                        "semicolons between the values."});
    }
  }
  return text;
}

std::string missing(int lang, std::string_view fname, const TableProblem& p) {
  const std::string what =
      p.text.empty()
          ? fill(lang,
                 {"un champ vide est une valeur manquante{1}.",
                  "an empty field is a missing value{1}."},
                 {judge_and_object(lang, p)})
          : fill(lang, {"{1} est une valeur manquante{2}.", "{1} is a missing value{2}."},
                 {quoted(p.text), judge_and_object(lang, p)});
  return place(lang, fname, p) + what +
         std::string(in(lang, {" Rankora a besoin d'un tableau complet, ou chaque juge note "
                               "chaque objet: completez la valeur, ou retirez le juge ou "
                               "l'objet.",
                               " Rankora needs a complete table, in which every judge scores "
                               "every object: fill in the value, or remove the judge or the "
                               "object."}));
}

std::string mixed_marks(int lang, std::string_view fname, const TableProblem& p) {
  const bool point_here = p.text.find('.') != std::string::npos;
  const Text point_then_comma = {
      "{1} a un point decimal, mais la ligne {2}, champ {3} ({4}) a une virgule decimale.",
      "{1} has a decimal point, but line {2}, field {3} ({4}) has a decimal comma."};
  const Text comma_then_point = {
      "{1} a une virgule decimale, mais la ligne {2}, champ {3} ({4}) a un point decimal.",
      "{1} has a decimal comma, but line {2}, field {3} ({4}) has a decimal point."};
  return place(lang, fname, p) +
         fill(lang, point_here ? point_then_comma : comma_then_point,
              {quoted(p.text), number(p.other_line), number(p.other_field), quoted(p.other_text)}) +
         std::string(in(lang, {" Un fichier n'a qu'une sorte de separateur decimal: si les "
                               "points separent les milliers, retirez-les.",
                               " A file has one decimal mark throughout: if points separate "
                               "thousands, remove them."}));
}

std::string duplicate(int lang, std::string_view fname, const TableProblem& p) {
  const std::string_view things =
      p.names_of_judges ? in(lang, {"juges", "judges"}) : in(lang, {"objets", "objects"});
  const std::string places =
      p.names_in_column
          ? fill(lang, {"lignes {1} et {2}", "lines {1} and {2}"},
                 {number(p.line), number(p.other_line)})
          : fill(lang, {"ligne {1}, champs {2} et {3}", "line {1}, fields {2} and {3}"},
                 {number(p.line), number(p.field), number(p.other_field)});
  const std::string_view repeated =
      p.names_in_column ? in(lang, {"un enregistrement repete", "a repeated record"})
                        : in(lang, {"une colonne repetee", "a repeated column"});
  return fill(
      lang,
      {"{1}: les {2} {3} et {4} portent le meme nom {5} ({6}). Les noms doivent "
       "distinguer les {2}: renommez l'un d'eux, ou retirez {7}.",
       "{1}: {2} {3} and {4} are both named {5} ({6}). Names must tell the {2} apart: "
       "rename one, or remove {7}."},
      {fname, things, number(p.count), number(p.expected), quoted(p.text), places, repeated});
}

std::string size(int lang, std::string_view fname, const TableProblem& p, std::int32_t max_judges,
                 std::int32_t max_objects) {
  std::string text = fill(
      lang, {"{1} contient {2} x {3} ({4}): ", "{1} holds {2} x {3} ({4}): "},
      {fname, judges(lang, p.judges), objects(lang, p.objects), orientation(lang, p.judges_are)});
  if (p.kind == Kind::TooFew) {
    return text + std::string(in(lang, {"Rankora a besoin d'au moins 2 juges et 2 objets.",
                                        "Rankora needs at least 2 judges and 2 objects."}));
  }
  text += fill(lang, {"Rankora accepte au plus {1} et {2}.", "Rankora takes at most {1} and {2}."},
               {judges(lang, max_judges), objects(lang, max_objects)});
  if (p.objects <= max_judges && p.judges <= max_objects) {
    const bool rows = p.judges_are == JudgesAre::Rows;
    text += fill(lang,
                 {" Avec {1}, ce serait {2} x {3}: si c'est le cas, ajoutez --judges {4}.",
                  " With {1}, it would be {2} x {3}: if so, add --judges {4}."},
                 {orientation(lang, rows ? JudgesAre::Columns : JudgesAre::Rows),
                  judges(lang, p.objects), objects(lang, p.judges), rows ? "columns" : "rows"});
  }
  return text;
}

std::string table_problem(int lang, std::string_view fname, const TableProblem& p,
                          std::int32_t max_judges, std::int32_t max_objects) {
  switch (p.kind) {
    case Kind::Utf16:
      return fill(lang,
                  {"{1} est en UTF-16 (\"texte Unicode\"): enregistrez-le en CSV, ou en texte "
                   "UTF-8.",
                   "{1} is in UTF-16 (\"Unicode text\"): save it as CSV, or as UTF-8 text."},
                  {fname});
    case Kind::Empty:
      return fill(lang,
                  {"{1} ne contient aucun tableau: il est vide, ou n'a que des lignes blanches.",
                   "{1} holds no table: it is empty, or holds only blank lines."},
                  {fname});
    case Kind::NamesOnly:
      return fill(lang,
                  {"{1} contient une ligne de noms (ligne {2}) et aucune valeur.",
                   "{1} holds a line of names (line {2}) and no values."},
                  {fname, number(p.line)});
    case Kind::QuoteNotClosed:
      return place(lang, fname, p) +
             fill(lang,
                  {"le guillemet qui ouvre ce champ n'est jamais ferme ({1}). Fermez-le, ou "
                   "retirez-le.",
                   "the quote that opens this field is never closed ({1}). Close it, or remove "
                   "it."},
                  {p.text});
    case Kind::TextAfterQuote:
      return place(lang, fname, p) +
             fill(lang,
                  {"du texte suit le guillemet fermant ({1}). Entre guillemets, un guillemet "
                   "s'ecrit double (\"\").",
                   "text follows the closing quote ({1}). Inside quotes, a quote is written "
                   "twice (\"\")."},
                  {p.text});
    case Kind::Missing:
      return missing(lang, fname, p);
    case Kind::NotANumber:
      return not_a_number(lang, fname, p);
    case Kind::MixedDecimalMarks:
      return mixed_marks(lang, fname, p);
    case Kind::Ragged:
      return fill(
          lang,
          {"{1}, ligne {2}: {3}, alors que la ligne {4} en a {5}. Chaque enregistrement "
           "doit avoir le meme nombre de valeurs: cherchez une valeur ou un separateur "
           "manquant ou en trop.",
           "{1}, line {2}: {3}, where line {4} has {5}. Every record needs the same "
           "number of values: look for a missing or an extra value or separator."},
          {fname, number(p.line), values(lang, p.count), number(p.other_line), number(p.expected)});
    case Kind::HeaderCount:
      return fill(
          lang,
          {"{1}, ligne {2}: {3} noms pour {4} par enregistrement (ligne {5}). Donnez un "
           "nom a chaque colonne de valeurs.",
           "{1}, line {2}: {3} names for {4} a record (line {5}). Give each column of "
           "values one name."},
          {fname, number(p.line), number(p.count), values(lang, p.expected), number(p.other_line)});
    case Kind::DuplicateName:
      return duplicate(lang, fname, p);
    case Kind::TooFew:
    case Kind::TooMany:
      return size(lang, fname, p, max_judges, max_objects);
  }
  return {};
}

}  // namespace

std::string_view standard_input_name(int lang) {
  return in(lang, {"(entree standard)", "(standard input)"});
}

std::string version_text(std::string_view version) { return fill("rankora {1}\n", {version}); }

std::string help_text(int lang) {
  return std::string(in(lang, {R"(Usage: rankora [OPTION]... DATA_FILE
  ou:  rankora [--csv FICHIER] [--json FICHIER] [--svg FICHIER] [--force]
Mesure et teste l'accord entre des juges qui ont chacun note les memes objets:
khi-carre de Friedman, W de Kendall, test de W par permutation, et test de
chaque juge seul par permutation.

Avec DATA_FILE, Rankora ne pose aucune question: il lit le tableau dans le
fichier (sa taille, son separateur, son separateur decimal, et les noms de sa
premiere ligne et de sa premiere colonne) et ecrit le rapport. Sans DATA_FILE,
Rankora pose ses questions (le dialogue). DATA_FILE - est l'entree standard.

  -j, --judges rows|columns    les juges sont les lignes (par defaut) ou les
                               colonnes du fichier
  -t, --ties corrected|uncorrected
                               avec (par defaut) ou sans correction pour
                               ex-aequo
  -p, --permutations N         permutations de chaque test, de 0 a 2147483647
                               (999 par defaut)
  -l, --lang en|fr             langue du rapport et de l'ecran (par defaut: le
                               francais si la locale est francaise, sinon
                               l'anglais)
  -o, --report FICHIER         le rapport (Rankora.out par defaut)
      --force                  remplace le rapport et les fichiers de sortie
                               qui existent deja
      --seed N                 amorce le generateur avec N, de 0 a 4294967295,
                               comme srand(N) (par defaut il n'est jamais
                               amorce, comme dans le dialogue)
  -q, --quiet                  rien a l'ecran sauf les erreurs
      --csv FICHIER            le tableau des juges en CSV
      --json FICHIER           tous les resultats en JSON
      --svg FICHIER            une image des resultats
  -h, --help                   affiche cette aide et termine
  -V, --version                affiche la version et termine

--csv, --json, --svg et --force vont aussi avec le dialogue.
Code de retour: 0 quand le rapport est complet, 1 apres une interruption,
2 pour une option ou un fichier de donnees qui ne va pas, 134 pour une erreur
d'entree-sortie.
Le manuel complet: man rankora.
)",
                               R"(Usage: rankora [OPTION]... DATA_FILE
  or:  rankora [--csv FILE] [--json FILE] [--svg FILE] [--force]
Measure and test the agreement among judges who have each scored the same
objects: Friedman's chi-square, Kendall's W, a permutation test of W, and a
permutation test of each judge alone.

With DATA_FILE, Rankora asks nothing: it reads the table from the file (its
size, its separator and decimal mark, and the names in its first line and
column) and writes the report. Without DATA_FILE, Rankora asks its questions
(the dialogue). DATA_FILE - is the standard input.

  -j, --judges rows|columns    the judges are the rows (default) or the columns
                               of the file
  -t, --ties corrected|uncorrected
                               with (default) or without the correction for
                               ties
  -p, --permutations N         permutations of each test, 0 to 2147483647
                               (default 999)
  -l, --lang en|fr             language of the report and the screen (default:
                               French when the locale is French, else English)
  -o, --report FILE            the report (default Rankora.out)
      --force                  replace the report and the output files if they
                               exist
      --seed N                 seed the random generator with N, 0 to
                               4294967295, as srand(N) would (default: never
                               seeded, as in the dialogue)
  -q, --quiet                  nothing on the screen but errors
      --csv FILE               the judges' table as CSV
      --json FILE              every figure as JSON
      --svg FILE               a picture of the results
  -h, --help                   show this help and exit
  -V, --version                show the version and exit

--csv, --json, --svg and --force also go with the dialogue.
Exit status: 0 when the report is complete, 1 when interrupted, 2 for a wrong
option or data file, 134 for an input or output error.
The whole manual: man rankora.
)"}));
}

std::string usage_error(int lang, Usage usage, std::string_view a, std::string_view b) {
  switch (usage) {
    case Usage::UnknownOption:
      return line(fill(lang, {"option inconnue '{1}'", "unknown option '{1}'"}, {a}));
    case Usage::MissingValue:
      return line(
          fill(lang, {"l'option '{1}' demande une valeur", "option '{1}' needs a value"}, {a}));
    case Usage::BadValue: {
      const std::string option(a);
      Text wanted = {"un nom de fichier", "a file name"};
      if (option == "--judges") wanted = {"rows ou columns", "rows or columns"};
      if (option == "--ties") wanted = {"corrected ou uncorrected", "corrected or uncorrected"};
      if (option == "--lang") wanted = {"en ou fr", "en or fr"};
      if (option == "--permutations") {
        wanted = {"un nombre entier de 0 a 2147483647", "a whole number from 0 to 2147483647"};
      }
      if (option == "--seed") {
        wanted = {"un nombre entier de 0 a 4294967295", "a whole number from 0 to 4294967295"};
      }
      return line(fill(lang,
                       {"'{2}' ne convient pas a {1}: donnez {3}",
                        "'{2}' is not a valid value for {1}: give {3}"},
                       {a, b, in(lang, wanted)}));
    }
    case Usage::TwoDataFiles:
      return line(fill(lang,
                       {"un seul fichier de donnees: '{1}' et '{2}' ont ete donnes",
                        "one data file only: '{1}' and '{2}' were given"},
                       {a, b}));
    case Usage::NeedsDataFile:
      return line(fill(lang,
                       {"{1} va avec un fichier de donnees: rankora [OPTION]... DATA_FILE (sans "
                        "fichier de donnees, Rankora pose ses questions)",
                        "{1} goes with a data file: rankora [OPTION]... DATA_FILE (without a "
                        "data file, Rankora asks its questions)"},
                       {a}));
    case Usage::NoValueWanted:
      return line(fill(
          lang, {"l'option '{1}' ne prend pas de valeur", "option '{1}' takes no value"}, {a}));
    case Usage::Other:
      return line(a);
  }
  return {};
}

std::string try_help_line(int lang) {
  return line(in(lang, {"Essayez 'rankora --help' pour plus d'informations.",
                        "Try 'rankora --help' for more information."}));
}

std::string file_error(int lang, FileTrouble trouble, std::string_view a, std::string_view b,
                       std::string_view c) {
  switch (trouble) {
    case FileTrouble::CannotRead:
      return line(fill(lang, {"impossible de lire {1}: {2}", "cannot read {1}: {2}"}, {a, b}));
    case FileTrouble::TooLarge:
      return line(fill(lang,
                       {"{1} fait plus de {2} Mo: bien plus que tout tableau que Rankora "
                        "accepte. Verifiez le nom du fichier de donnees.",
                        "{1} is over {2} MB: far larger than any table Rankora takes. Check the "
                        "name of the data file."},
                       {a, b}));
    case FileTrouble::Exists:
      return line(fill(lang,
                       {"{1} existe deja, et Rankora n'ecrase jamais un fichier: nommez-en un "
                        "autre, ou ajoutez --force pour le remplacer.",
                        "{1} exists, and Rankora never overwrites a file: name another one, or "
                        "add --force to replace it."},
                       {a}));
    case FileTrouble::CannotCreate:
      return line(fill(lang, {"impossible de creer {1}: {2}", "cannot create {1}: {2}"}, {a, b}));
    case FileTrouble::SameOutput:
      return line(fill(lang,
                       {"{1} est nomme par {2} et par {3}: donnez a chaque sortie son fichier.",
                        "{1} is named by both {2} and {3}: give each output its own file."},
                       {a, b, c}));
    case FileTrouble::OutputIsData:
      return line(fill(lang,
                       {"{2} ecraserait le fichier de donnees {1}: nommez un autre fichier.",
                        "{2} would overwrite the data file {1}: name another file."},
                       {a, b}));
  }
  return {};
}

std::string explain_table_problem(int lang, std::string_view fname, const TableProblem& problem,
                                  std::int32_t max_judges, std::int32_t max_objects) {
  return line(table_problem(lang, fname, problem, max_judges, max_objects));
}

std::string output_not_written(int lang, std::string_view kind, std::string_view file) {
  return line(fill(lang,
                   {"attention: cette version de Rankora n'ecrit pas encore de fichier {1}: {2} "
                    "n'a pas ete cree.",
                    "warning: this version of Rankora does not write {1} files yet: {2} was not "
                    "created."},
                   {kind, file}));
}

std::string table_read_line(int lang, std::string_view fname, const TableFile& table) {
  std::string text = fill(lang, {"{1} x {2} lus dans {3}", "{1} x {2} from {3}"},
                          {judges(lang, table.judges), objects(lang, table.objects), fname});
  const bool rows = table.layout.header, column = table.layout.name_column;
  if (rows && column) {
    text += in(lang, {"; noms tires de la premiere ligne et de la premiere colonne",
                      "; names from the first row and column"});
  } else if (rows) {
    text += in(lang, {"; noms tires de la premiere ligne", "; names from the first row"});
  } else if (column) {
    text += in(lang, {"; noms tires de la premiere colonne", "; names from the first column"});
  }
  if (table.layout.decimal_comma) text += in(lang, {"; virgules decimales", "; decimal commas"});
  return text;
}

std::string report_written_line(int lang, std::string_view report) {
  return fill(lang, {"Rapport ecrit dans {1}", "Report written to {1}"}, {report});
}

}  // namespace rankora::report
