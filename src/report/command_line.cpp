#include "report/command_line.hpp"

#include "report/language.hpp"
#include "report/texts.hpp"

namespace rankora::report {
namespace {

using Kind = TableProblem::Kind;

constexpr std::string_view kPrefix = "rankora: ";

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

std::string count_of(int lang, std::int64_t count, Text one, Text many) {
  return sentence(lang, count == 1 ? one : many, {{"count", number(count)}});
}

std::string judges(int lang, std::int64_t count) {
  return count_of(lang, count, Text::OneJudge, Text::Judges);
}

std::string objects(int lang, std::int64_t count) {
  return count_of(lang, count, Text::OneObject, Text::Objects);
}

std::string values(int lang, std::int64_t count) {
  return count_of(lang, count, Text::OneValue, Text::Values);
}

std::string_view separator_name(int lang, char separator) {
  switch (separator) {
    case ';':
      return pattern(lang, Text::SeparatorSemicolons);
    case ',':
      return pattern(lang, Text::SeparatorCommas);
    case '\t':
      return pattern(lang, Text::SeparatorTabs);
    default:
      return pattern(lang, Text::SeparatorBlanks);
  }
}

std::string_view orientation(int lang, JudgesAre judges_are) {
  return pattern(lang, judges_are == JudgesAre::Rows ? Text::JudgesAsRows : Text::JudgesAsColumns);
}

// "data.csv, line 4, field 7: "
std::string place(int lang, std::string_view fname, const TableProblem& p) {
  return sentence(lang, Text::TablePlace,
                  {{"file", fname}, {"line", number(p.line)}, {"field", number(p.field)}});
}

// " (judge 3, object 6)", where the table has them.
std::string judge_and_object(int lang, const TableProblem& p) {
  if (p.judge == 0) return {};
  return sentence(lang, Text::TableJudgeAndObject,
                  {{"judge", number(p.judge)}, {"object", number(p.object)}});
}

std::string not_a_number(int lang, std::string_view fname, const TableProblem& p) {
  std::string text = place(lang, fname, p) +
                     sentence(lang, Text::TableNotANumber,
                              {{"text", quoted(p.text)}, {"where", judge_and_object(lang, p)}});
  // A value that holds what separates values elsewhere: the file's separator is not the
  // one its writer meant.
  if (p.text.find_first_of(" \t,;") != std::string::npos) {
    text += sentence(lang, Text::TableSeparatorShown,
                     {{"separator", separator_name(lang, p.separator)}});
    if (p.separator == ',' && p.text.find(' ') != std::string::npos) {
      text += pattern(lang, Text::TableNoDecimalCommas);
    }
  }
  return text;
}

std::string missing(int lang, std::string_view fname, const TableProblem& p) {
  const std::string where = judge_and_object(lang, p);
  const std::string what =
      p.text.empty()
          ? sentence(lang, Text::TableEmptyField, {{"where", where}})
          : sentence(lang, Text::TableMissingValue, {{"text", quoted(p.text)}, {"where", where}});
  return place(lang, fname, p) + what + std::string(pattern(lang, Text::TableNeedsEveryValue));
}

std::string mixed_marks(int lang, std::string_view fname, const TableProblem& p) {
  const bool point_here = p.text.find('.') != std::string::npos;
  return place(lang, fname, p) +
         sentence(lang, point_here ? Text::TablePointAfterCommas : Text::TableCommaAfterPoints,
                  {{"text", quoted(p.text)},
                   {"line", number(p.other_line)},
                   {"field", number(p.other_field)},
                   {"other", quoted(p.other_text)}}) +
         std::string(pattern(lang, Text::TableOneDecimalMark));
}

std::string duplicate(int lang, std::string_view fname, const TableProblem& p) {
  const std::string places =
      p.names_in_column ? sentence(lang, Text::NamesOnLines,
                                   {{"first", number(p.line)}, {"second", number(p.other_line)}})
                        : sentence(lang, Text::NamesInFields,
                                   {{"line", number(p.line)},
                                    {"first", number(p.field)},
                                    {"second", number(p.other_field)}});
  return sentence(
      lang, Text::TableSameNames,
      {{"file", fname},
       {"things", pattern(lang, p.names_of_judges ? Text::NamesOfJudges : Text::NamesOfObjects)},
       {"first", number(p.count)},
       {"second", number(p.expected)},
       {"name", quoted(p.text)},
       {"places", places},
       {"repeated",
        pattern(lang, p.names_in_column ? Text::RepeatedRecord : Text::RepeatedColumn)}});
}

std::string size(int lang, std::string_view fname, const TableProblem& p, std::int32_t max_judges,
                 std::int32_t max_objects) {
  std::string text = sentence(lang, Text::TableSize,
                              {{"file", fname},
                               {"judges", judges(lang, p.judges)},
                               {"objects", objects(lang, p.objects)},
                               {"orientation", orientation(lang, p.judges_are)}});
  if (p.kind == Kind::TooFew) return text + std::string(pattern(lang, Text::TableTooSmall));
  text += sentence(lang, Text::TableOverCapacity,
                   {{"judges", judges(lang, max_judges)}, {"objects", objects(lang, max_objects)}});
  if (p.objects <= max_judges && p.judges <= max_objects) {
    const bool rows = p.judges_are == JudgesAre::Rows;
    text +=
        sentence(lang, Text::TableFitsTheOtherWay,
                 {{"orientation", orientation(lang, rows ? JudgesAre::Columns : JudgesAre::Rows)},
                  {"judges", judges(lang, p.objects)},
                  {"objects", objects(lang, p.judges)},
                  {"word", rows ? "columns" : "rows"}});
  }
  return text;
}

std::string table_problem(int lang, std::string_view fname, const TableProblem& p,
                          std::int32_t max_judges, std::int32_t max_objects) {
  switch (p.kind) {
    case Kind::Utf16:
      return sentence(lang, Text::TableUtf16, {{"file", fname}});
    case Kind::Empty:
      return sentence(lang, Text::TableEmpty, {{"file", fname}});
    case Kind::NamesOnly:
      return sentence(lang, Text::TableNamesOnly, {{"file", fname}, {"line", number(p.line)}});
    case Kind::QuoteNotClosed:
      return place(lang, fname, p) + sentence(lang, Text::TableQuoteNotClosed, {{"text", p.text}});
    case Kind::TextAfterQuote:
      return place(lang, fname, p) + sentence(lang, Text::TableTextAfterQuote, {{"text", p.text}});
    case Kind::Missing:
      return missing(lang, fname, p);
    case Kind::NotANumber:
      return not_a_number(lang, fname, p);
    case Kind::MixedDecimalMarks:
      return mixed_marks(lang, fname, p);
    case Kind::Ragged:
      return sentence(lang, Text::TableRagged,
                      {{"file", fname},
                       {"line", number(p.line)},
                       {"values", values(lang, p.count)},
                       {"other", number(p.other_line)},
                       {"expected", number(p.expected)}});
    case Kind::HeaderCount:
      return sentence(lang, Text::TableHeaderCount,
                      {{"file", fname},
                       {"line", number(p.line)},
                       {"count", number(p.count)},
                       {"values", values(lang, p.expected)},
                       {"other", number(p.other_line)}});
    case Kind::DuplicateName:
      return duplicate(lang, fname, p);
    case Kind::TooFew:
    case Kind::TooMany:
      return size(lang, fname, p, max_judges, max_objects);
  }
  return {};
}

}  // namespace

std::string_view standard_input_name(int lang) { return pattern(lang, Text::StandardInputName); }

std::string version_text(std::string_view version) {
  return "rankora " + std::string(version) + "\n";
}

// The usage is a page, not a sentence: it stands here, both languages side by side.
std::string help_text(int lang) {
  constexpr std::string_view kFrench = R"(Usage: rankora [OPTION]... DATA_FILE
  ou:  rankora [--csv FICHIER] [--json FICHIER] [--svg FICHIER] [--force] [-T N]
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
  -T, --threads N              fils des tests par permutation, de 1 a 1024
                               (par defaut RANKORA_THREADS, sinon tous les
                               coeurs); le rapport ne change pas
      --csv FICHIER            le tableau des juges en CSV
      --json FICHIER           tous les resultats en JSON
      --svg FICHIER            une image des resultats
  -h, --help                   affiche cette aide et termine
  -V, --version                affiche la version et termine

--csv, --json, --svg, --force et --threads vont aussi avec le dialogue.
Code de retour: 0 quand le rapport est complet, 1 apres une interruption,
2 pour une option ou un fichier de donnees qui ne va pas, 134 pour une erreur
d'entree-sortie.
Le manuel complet: man rankora.
)";
  constexpr std::string_view kEnglish = R"(Usage: rankora [OPTION]... DATA_FILE
  or:  rankora [--csv FILE] [--json FILE] [--svg FILE] [--force] [-T N]
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
  -T, --threads N              threads of the permutation tests, 1 to 1024
                               (default RANKORA_THREADS, else every core); the
                               report does not change
      --csv FILE               the judges' table as CSV
      --json FILE              every figure as JSON
      --svg FILE               a picture of the results
  -h, --help                   show this help and exit
  -V, --version                show the version and exit

--csv, --json, --svg, --force and --threads also go with the dialogue.
Exit status: 0 when the report is complete, 1 when interrupted, 2 for a wrong
option or data file, 134 for an input or output error.
The whole manual: man rankora.
)";
  return std::string(french(lang) ? kFrench : kEnglish);
}

std::string usage_error(int lang, Usage usage, std::string_view a, std::string_view b) {
  switch (usage) {
    case Usage::UnknownOption:
      return line(sentence(lang, Text::UnknownOption, {{"option", a}}));
    case Usage::MissingValue:
      return line(sentence(lang, Text::OptionNeedsValue, {{"option", a}}));
    case Usage::BadValue: {
      Text wanted = Text::WantedFileName;
      if (a == "--judges") wanted = Text::WantedRowsOrColumns;
      if (a == "--ties") wanted = Text::WantedCorrectedOrUncorrected;
      if (a == "--lang") wanted = Text::WantedLanguage;
      if (a == "--permutations") wanted = Text::WantedPermutations;
      if (a == "--seed") wanted = Text::WantedSeed;
      if (a == "--threads") wanted = Text::WantedThreads;
      return line(sentence(lang, Text::BadOptionValue,
                           {{"option", a}, {"value", b}, {"wanted", pattern(lang, wanted)}}));
    }
    case Usage::TwoDataFiles:
      return line(sentence(lang, Text::TwoDataFiles, {{"first", a}, {"second", b}}));
    case Usage::NeedsDataFile:
      return line(sentence(lang, Text::OptionNeedsDataFile, {{"option", a}}));
    case Usage::NoValueWanted:
      return line(sentence(lang, Text::OptionTakesNoValue, {{"option", a}}));
    case Usage::Other:
      return line(a);
  }
  return {};
}

std::string try_help_line(int lang) { return line(pattern(lang, Text::TryHelp)); }

std::string file_error(int lang, FileTrouble trouble, std::string_view a, std::string_view b,
                       std::string_view c) {
  switch (trouble) {
    case FileTrouble::CannotRead:
      return line(sentence(lang, Text::DataFileUnreadable, {{"file", a}, {"reason", b}}));
    case FileTrouble::TooLarge:
      return line(sentence(lang, Text::DataFileTooLarge, {{"file", a}, {"megabytes", b}}));
    case FileTrouble::Exists:
      return line(sentence(lang, Text::OutputExists, {{"file", a}}));
    case FileTrouble::CannotCreate:
      return line(sentence(lang, Text::OutputCannotBeCreated, {{"file", a}, {"reason", b}}));
    case FileTrouble::SameOutput:
      return line(
          sentence(lang, Text::OutputNamedTwice, {{"file", a}, {"first", b}, {"second", c}}));
    case FileTrouble::OutputIsData:
      return line(sentence(lang, Text::OutputIsDataFile, {{"file", a}, {"option", b}}));
  }
  return {};
}

std::string explain_table_problem(int lang, std::string_view fname, const TableProblem& problem,
                                  std::int32_t max_judges, std::int32_t max_objects) {
  return line(table_problem(lang, fname, problem, max_judges, max_objects));
}

std::string table_read_line(int lang, std::string_view fname, const TableFile& table) {
  std::string text = sentence(lang, Text::TableRead,
                              {{"judges", judges(lang, table.judges)},
                               {"objects", objects(lang, table.objects)},
                               {"file", fname}});
  const bool row = table.layout.header, column = table.layout.name_column;
  if (row || column) {
    text += pattern(lang, row && column ? Text::NamesFromRowAndColumn
                          : row         ? Text::NamesFromRow
                                        : Text::NamesFromColumn);
  }
  if (table.layout.decimal_comma) text += pattern(lang, Text::WithDecimalCommas);
  return text;
}

std::string report_written_line(int lang, std::string_view report) {
  return sentence(lang, Text::ReportWrittenTo, {{"file", report}});
}

}  // namespace rankora::report
