#include "report/texts.hpp"

#include <array>
#include <cstddef>

#include "report/language.hpp"

namespace rankora::report {
namespace {

struct Sentence {
  Text id;
  std::string_view fr;
  std::string_view en;
};

constexpr Sentence kSentences[] = {
    // The language is not known yet: both are spoken.
    {Text::LanguageRanOut, "pas de reponse / no answer: 1 = francais, 2 = English",
     "pas de reponse / no answer: 1 = francais, 2 = English"},
    {Text::LanguageNotAnswered, "{typed}: tapez 1 pour le francais / type 2 for English",
     "{typed}: tapez 1 pour le francais / type 2 for English"},

    {Text::RanOutAtSize, "les reponses se sont arretees a \"Combien de juges et d'objets?\".",
     "the answers ran out at \"How many judges and objects?\"."},
    {Text::RanOutAtOrientation, "les reponses se sont arretees a la question de l'orientation.",
     "the answers ran out at the orientation question."},
    {Text::RanOutAtFileName, "les reponses se sont arretees a \"Nom du fichier de donnees?\".",
     "the answers ran out at \"Name of the input data file?\"."},
    {Text::RanOutAtTies, "les reponses se sont arretees a la question des ex-aequo.",
     "the answers ran out at the tie question."},
    {Text::RanOutAtPermutations, "les reponses se sont arretees a \"Combien de permutations?\".",
     "the answers ran out at \"How many permutations?\"."},

    {Text::SizeNotAnswered,
     "{typed} ne repond pas a \"Combien de juges et d'objets?\": tapez deux nombres entiers, "
     "par exemple 9 8.",
     "{typed} does not answer \"How many judges and objects?\": type two whole numbers, such "
     "as 9 8."},
    {Text::OrientationNotAnswered,
     "{typed} ne repond pas a la question de l'orientation: tapez 1 (juges en lignes) ou 2 "
     "(juges en colonnes).",
     "{typed} does not answer the orientation question: type 1 (judges are rows) or 2 (judges "
     "are columns)."},
    // A text answer takes anything typed: only the end of the answers can fail it.
    {Text::FileNameNotAnswered,
     "{typed} ne repond pas a \"Nom du fichier de donnees?\": tapez le nom du fichier.",
     "{typed} does not answer \"Name of the input data file?\": type the file's name."},
    {Text::TiesNotAnswered, "{typed} ne repond pas a la question des ex-aequo: tapez 1 ou 2.",
     "{typed} does not answer the tie question: type 1 or 2."},
    {Text::PermutationsNotAnswered,
     "{typed} ne repond pas a \"Combien de permutations?\": tapez un nombre entier, par "
     "exemple 999.",
     "{typed} does not answer \"How many permutations?\": type a whole number, such as 999."},

    {Text::DataEndedEarly,
     "{file} s'arrete apres {read} des {expected} valeurs attendues ({judges} juges x "
     "{objects} objets): verifiez la taille et l'orientation repondues.",
     "{file} ended after {read} of the {expected} values expected ({judges} judges x "
     "{objects} objects): check the size and orientation answered."},
    {Text::DataNotANumber,
     "ligne {line} de {file}: {value} n'est pas un nombre (juge {judge}, objet {object}).",
     "line {line} of {file}: {value} is not a number (judge {judge}, object {object})."},
    {Text::DataUnreadable,
     "ligne {line} de {file}: lecture impossible (juge {judge}, objet {object}).",
     "line {line} of {file}: unreadable (judge {judge}, object {object})."},

    {Text::TextAfterRecordsOnOneLine,
     "attention: du texte apres la derniere valeur d'un enregistrement a ete ignore sur 1 "
     "ligne de {file} (ligne {line}: {start}).",
     "warning: text after the last value of a record was ignored on 1 line of {file} (line "
     "{line}: {start})."},
    {Text::TextAfterRecordsOnLines,
     "attention: du texte apres la derniere valeur d'un enregistrement a ete ignore sur "
     "{count} lignes de {file} (la premiere est la ligne {line}: {start}).",
     "warning: text after the last value of a record was ignored on {count} lines of {file} "
     "(the first is line {line}: {start})."},
    {Text::TextAfterRecordsWhy,
     "En general, la taille ou l'orientation repondue ne correspond pas au fichier, ou le "
     "fichier a des virgules decimales (36,5 est lu comme 36 et 5). Une note en fin de ligne "
     "est sans danger et peut rester.",
     "This usually means that the size or orientation answered does not match the file, or "
     "that the file has decimal commas (36,5 is read as 36 and 5). A note at the end of a "
     "line is fine and can be left."},
    {Text::TextAfterTable,
     "attention: {file} continue apres le dernier enregistrement: tout, a partir de la ligne "
     "{line}, a ete ignore.",
     "warning: {file} goes on after the last record: everything from line {line} on was "
     "ignored."},
    {Text::TextAfterTableWhy,
     "En general, la taille ou l'orientation repondue ne correspond pas au fichier.",
     "This usually means that the size or orientation answered does not match the file."},

    // {typed}: the answer as typed; {name}: the name Rankora looked for; {quoted}: the
    // answer between quotes; {base}: its last part, the file's own name.
    {Text::NameCutAtBlank,
     "{typed} a ete coupe a son premier blanc; Rankora a donc cherche {name}: tapez entre "
     "apostrophes un nom qui contient des blancs, comme {quoted}.",
     "{typed} was cut at its first blank, so Rankora looked for {name}: type a name that "
     "holds blanks between quotes, as {quoted}."},
    {Text::NameCutAtComma,
     "{typed} a ete coupe a sa premiere virgule; Rankora a donc cherche {name}: tapez entre "
     "apostrophes un nom qui contient une virgule, comme {quoted}.",
     "{typed} was cut at its first comma, so Rankora looked for {name}: type a name that "
     "holds a comma between quotes, as {quoted}."},
    {Text::NameCutAtSlash,
     "{typed} a ete coupe a sa premiere barre oblique; Rankora a donc cherche {name}: tapez "
     "entre apostrophes un chemin, comme {quoted}, ou lancez Rankora dans le dossier du "
     "fichier et tapez {base} seul.",
     "{typed} was cut at its first slash, so Rankora looked for {name}: type a path between "
     "quotes, as {quoted}, or run Rankora in the file's own folder and type {base} alone."},
    {Text::NameCutAtFirstSlash,
     "{typed} a ete coupe a sa premiere barre oblique, avant tout nom: tapez entre "
     "apostrophes un chemin, comme {quoted}, ou lancez Rankora dans le dossier du fichier et "
     "tapez {base} seul.",
     "{typed} was cut at its first slash, before any name: type a path between quotes, as "
     "{quoted}, or run Rankora in the file's own folder and type {base} alone."},
    {Text::NameTooLong,
     "le nom tape a {length} caracteres et seuls les 79 premiers sont lus; Rankora a donc "
     "cherche {name}: donnez au fichier un nom de 79 caracteres au plus.",
     "the name typed has {length} characters and only its first 79 are read, so Rankora "
     "looked for {name}: give the file a name of 79 characters at most."},
    {Text::PathTooLong,
     "le nom tape a {length} caracteres et seuls les 79 premiers sont lus; Rankora a donc "
     "cherche {name}: lancez Rankora dans le dossier du fichier et tapez {base} seul.",
     "the name typed has {length} characters and only its first 79 are read, so Rankora "
     "looked for {name}: run Rankora in the file's own folder and type {base} alone."},
    {Text::NameEmpty,
     "la reponse ne donne aucun nom de fichier: tapez le nom du fichier de donnees, entre "
     "apostrophes s'il contient un blanc ou une barre oblique.",
     "the answer gives no file name: type the data file's name, between quotes if it holds a "
     "blank or a slash."},
    {Text::FileNotThere,
     "il n'y a pas de fichier {name}: verifiez son nom, et lancez Rankora dans le dossier du "
     "fichier ou tapez entre apostrophes le chemin du fichier.",
     "there is no file {name}: check its name, and run Rankora in the file's folder or type "
     "the file's path between quotes."},
    {Text::FileNameEndsInCarriageReturn,
     "il n'y a pas de fichier {name}: le nom finit par un retour chariot, car les reponses "
     "ont des fins de ligne Windows; convertissez-les (dos2unix) et relancez.",
     "there is no file {name}: the name ends in a carriage return, because the answers have "
     "Windows line ends; convert them (dos2unix) and run again."},
    {Text::FileIsAFolder,
     "{name} est un dossier, pas un fichier de donnees: tapez entre apostrophes le chemin du "
     "fichier, ou lancez Rankora dans le dossier du fichier.",
     "{name} is a folder, not a data file: type the file's path between quotes, or run "
     "Rankora in the file's own folder."},
    {Text::FileMayNotBeRead,
     "{name} ne peut pas etre lu, ses droits l'interdisent: demandez a son proprietaire le "
     "droit de le lire, ou donnez-le-vous (chmod u+r) si le fichier est a vous.",
     "{name} may not be read, its permissions forbid it: ask its owner for the right to read "
     "it, or give it yourself (chmod u+r) if the file is yours."},
    {Text::FileCannotBeOpened,
     "{name} n'a pas pu etre ouvert, pour la raison que donne la premiere ligne ci-dessus: "
     "verifiez le fichier, puis relancez.",
     "{name} could not be opened, for the reason the first line above gives: check the "
     "file, then run again."},

    {Text::ReportExists,
     "Rankora.out existe deja dans ce dossier, et Rankora n'ecrase jamais un rapport: "
     "deplacez-le ou renommez-le (par exemple mv Rankora.out ancien.out), ou lancez Rankora "
     "dans un autre dossier.",
     "Rankora.out already exists in this folder, and Rankora never overwrites a report: move "
     "or rename it (for example mv Rankora.out earlier.out), or run Rankora in another "
     "folder."},

    {Text::TableTooLarge,
     "un tableau de {judges} juges x {objects} objets depasse la capacite de {maxj} juges x "
     "{maxobj} objets: analysez-en une partie, ou augmentez la capacite comme l'explique la "
     "section \"Capacities\" du README.",
     "a table of {judges} judges x {objects} objects exceeds the capacity of {maxj} judges x "
     "{maxobj} objects: analyse a part of it, or raise the capacity as the section "
     "\"Capacities\" of the README explains."},
    {Text::TableTooLargeOrSwapped,
     "un tableau de {judges} juges x {objects} objets depasse la capacite de {maxj} juges x "
     "{maxobj} objets, mais la taille a peut-etre ete tapee a l'envers: pour {objects} juges "
     "et {judges} objets, repondez {objects} {judges}; pour augmenter la capacite, voyez la "
     "section \"Capacities\" du README.",
     "a table of {judges} judges x {objects} objects exceeds the capacity of {maxj} judges x "
     "{maxobj} objects, but the size may have been typed the wrong way round: for {objects} "
     "judges and {judges} objects, answer {objects} {judges}; to raise the capacity, see the "
     "section \"Capacities\" of the README."},

    // {output} could not be written, {reason} says why; the report {report} is complete.
    {Text::OutputNotCreated,
     "{output} n'a pas pu etre ecrit: son fichier temporaire n'a pas pu etre cree dans son "
     "dossier ({reason}). Le rapport {report} est complet.",
     "{output} could not be written: its temporary file could not be created in its folder "
     "({reason}). The report {report} is complete."},
    {Text::OutputNotWritten,
     "{output} n'a pas pu etre ecrit ({reason}). Le rapport {report} est complet.",
     "{output} could not be written ({reason}). The report {report} is complete."},
    {Text::OutputNotSaved,
     "{output} n'a pas pu etre enregistre sur le disque ({reason}). Le rapport {report} est "
     "complet.",
     "{output} could not be saved to disk ({reason}). The report {report} is complete."},
    {Text::OutputNotClosed,
     "{output} n'a pas pu etre ferme ({reason}). Le rapport {report} est complet.",
     "{output} could not be closed ({reason}). The report {report} is complete."},
    {Text::OutputNotRenamed,
     "{output} n'a pas pu prendre son nom ({reason}). Le rapport {report} est complet.",
     "{output} could not be given its name ({reason}). The report {report} is complete."},
    {Text::OutputAppeared,
     "{output} est apparu pendant le calcul: il est reste tel quel et ces resultats n'y sont "
     "pas. Relancez avec --force pour le remplacer, ou donnez un autre nom. Le rapport "
     "{report} est complet.",
     "{output} appeared while Rankora ran: it was left as it was, without these results. Run "
     "again with --force to replace it, or give another name. The report {report} is "
     "complete."},

    // The picture's texts, in UTF-8 as the SVG is. {ties} is PictureWithTies or
    // PictureWithoutTies, {permutations} PicturePermutations or PictureOnePermutation; in
    // a tooltip, {name} is a blank and the judge's name or nothing, {null}
    // PictureTooltipNull or nothing.
    {Text::PictureTitle, "Test de concordance de Kendall: {file}",
     "Kendall's test of concordance: {file}"},
    {Text::PictureSize, "{judges} juges x {objects} objets, {ties}, {permutations}",
     "{judges} judges x {objects} objects, {ties}, {permutations}"},
    {Text::PictureWithTies, "correction pour ex-aequo", "with correction for ties"},
    {Text::PictureWithoutTies, "sans correction pour ex-aequo", "without correction for ties"},
    {Text::PicturePermutations, "{count} permutations", "{count} permutations"},
    {Text::PictureOnePermutation, "1 permutation", "1 permutation"},
    {Text::PictureStatistics, "W de Kendall = {w}; khi-carré de Friedman = {chi2}, nu = {nu}",
     "Kendall's W = {w}; Friedman's chi-square = {chi2}, nu = {nu}"},
    {Text::PictureGlobalHeading, "Test global: W des tableaux permutés (tous les juges permutés)",
     "Global test: W of the shuffled tables (all judges permuted)"},
    {Text::PictureGlobalP,
     "p = {p} (tableaux permutés atteignant le W observé: {reached} sur {permutations})",
     "p = {p} (shuffled tables reaching the observed W: {reached} of {permutations})"},
    {Text::PictureObserved, "W observé = {w}", "observed W = {w}"},
    {Text::PictureObservedOff, "W observé = {w}, hors échelle", "observed W = {w}, off the scale"},
    {Text::PictureShuffledTables, "tableaux permutés", "shuffled tables"},
    {Text::PictureOutside, "hors de l'axe: {below} en dessous, {above} au-dessus",
     "outside the axis: {below} below, {above} above"},
    {Text::PictureNoPermutation, "Aucune permutation: p = 1", "No permutation: p = 1"},
    {Text::PictureNoW, "W n'est pas un nombre: chaque juge est constant",
     "W is not a number: every judge is constant"},
    {Text::PictureJudgesHeading, "Chaque juge: W(j), par ordre décroissant de Rbar",
     "Each judge: W(j), in order of decreasing R-bar"},
    {Text::PictureSignificant, "p de Holm ≤ 0.05 ({count})", "Holm p ≤ 0.05 ({count})"},
    {Text::PictureNotSignificant, "p de Holm > 0.05 ({count})", "Holm p > 0.05 ({count})"},
    {Text::PictureNullVariance, "variance nulle ({count})", "null variance ({count})"},
    {Text::PictureAllJudgesW, "W de tous les juges", "W of all judges"},
    {Text::PictureJudge, "Juge", "Judge"},
    {Text::PictureHolm, "p de Holm", "Holm p"},
    {Text::PictureReportOrder, "juges dans l'ordre du rapport (Rbar décroissant)",
     "judges in the report's order (decreasing R-bar)"},
    {Text::PictureTooltip, "Juge {judge}{name}: W(j) = {w}, p de Holm = {holm}{null}",
     "Judge {judge}{name}: W(j) = {w}, Holm p = {holm}{null}"},
    {Text::PictureTooltipNull, ", variance nulle", ", null variance"},

    // {left} is the time left, or nothing while it cannot be told yet.
    {Text::ProgressGlobalTest, " Test global: {percent}{left}", " Global test: {percent}{left}"},
    {Text::ProgressJudges, " Juges testes: {done} sur {count} ({percent}){left}",
     " Judges tested: {done} of {count} ({percent}){left}"},
    {Text::ProgressTimeLeft, ", encore environ {time}", ", about {time} left"},

    {Text::StandardInputName, "(entree standard)", "(standard input)"},
    {Text::UnknownOption, "option inconnue '{option}'", "unknown option '{option}'"},
    {Text::OptionNeedsValue, "l'option '{option}' demande une valeur",
     "option '{option}' needs a value"},
    {Text::OptionTakesNoValue, "l'option '{option}' ne prend pas de valeur",
     "option '{option}' takes no value"},
    {Text::BadOptionValue, "'{value}' ne convient pas a {option}: donnez {wanted}",
     "'{value}' is not a valid value for {option}: give {wanted}"},
    {Text::WantedRowsOrColumns, "rows ou columns", "rows or columns"},
    {Text::WantedCorrectedOrUncorrected, "corrected ou uncorrected", "corrected or uncorrected"},
    {Text::WantedLanguage, "en ou fr", "en or fr"},
    {Text::WantedPermutations, "un nombre entier de 0 a 2147483647",
     "a whole number from 0 to 2147483647"},
    {Text::WantedSeed, "un nombre entier de 0 a 4294967295", "a whole number from 0 to 4294967295"},
    {Text::WantedThreads, "un nombre entier de 1 a 1024", "a whole number from 1 to 1024"},
    {Text::WantedFileName, "un nom de fichier", "a file name"},
    {Text::TwoDataFiles, "un seul fichier de donnees: '{first}' et '{second}' ont ete donnes",
     "one data file only: '{first}' and '{second}' were given"},
    {Text::OptionNeedsDataFile,
     "{option} va avec un fichier de donnees: rankora [OPTION]... DATA_FILE (sans fichier de "
     "donnees, Rankora pose ses questions)",
     "{option} goes with a data file: rankora [OPTION]... DATA_FILE (without a data file, "
     "Rankora asks its questions)"},
    {Text::TryHelp, "Essayez 'rankora --help' pour plus d'informations.",
     "Try 'rankora --help' for more information."},
    {Text::DataFileUnreadable, "impossible de lire {file}: {reason}",
     "cannot read {file}: {reason}"},
    {Text::DataFileTooLarge,
     "{file} fait plus de {megabytes} Mo: bien plus que tout tableau que Rankora accepte. "
     "Verifiez le nom du fichier de donnees.",
     "{file} is over {megabytes} MB: far larger than any table Rankora takes. Check the name "
     "of the data file."},
    {Text::OutputExists,
     "{file} existe deja, et Rankora n'ecrase jamais un fichier: nommez-en un autre, ou "
     "ajoutez --force pour le remplacer.",
     "{file} exists, and Rankora never overwrites a file: name another one, or add --force "
     "to replace it."},
    {Text::OutputCannotBeCreated, "impossible de creer {file}: {reason}",
     "cannot create {file}: {reason}"},
    {Text::OutputNamedTwice,
     "{file} est nomme par {first} et par {second}: donnez a chaque "
     "sortie son fichier.",
     "{file} is named by both {first} and {second}: give each output its own file."},
    {Text::OutputIsDataFile,
     "{option} ecraserait le fichier de donnees {file}: nommez un autre "
     "fichier.",
     "{option} would overwrite the data file {file}: name another file."},
    {Text::ThreadCountUnreadable,
     "attention: RANKORA_THREADS={setting} n'est pas un nombre de fils de 1 a {max}: "
     "tous les coeurs sont utilises.",
     "warning: RANKORA_THREADS={setting} is not a count of threads from 1 to {max}: every "
     "core is used."},

    {Text::TableUtf16,
     "{file} est en UTF-16 (\"texte Unicode\"): enregistrez-le en CSV, ou en texte UTF-8.",
     "{file} is in UTF-16 (\"Unicode text\"): save it as CSV, or as UTF-8 text."},
    {Text::TableEmpty,
     "{file} ne contient aucun tableau: il est vide, ou n'a que des lignes blanches.",
     "{file} holds no table: it is empty, or holds only blank lines."},
    {Text::TableNamesOnly, "{file} contient une ligne de noms (ligne {line}) et aucune valeur.",
     "{file} holds a line of names (line {line}) and no values."},
    // Each message about a field begins with its place.
    {Text::TablePlace,
     "{file}, ligne {line}, champ {field}: ", "{file}, line {line}, field {field}: "},
    {Text::TableJudgeAndObject, " (juge {judge}, objet {object})",
     " (judge {judge}, object {object})"},
    {Text::TableQuoteNotClosed,
     "le guillemet qui ouvre ce champ n'est jamais ferme ({text}). Fermez-le, ou retirez-le.",
     "the quote that opens this field is never closed ({text}). Close it, or remove it."},
    {Text::TableTextAfterQuote,
     "du texte suit le guillemet fermant ({text}). Entre guillemets, un guillemet s'ecrit "
     "double (\"\").",
     "text follows the closing quote ({text}). Inside quotes, a quote is written twice "
     "(\"\")."},
    {Text::TableEmptyField, "un champ vide est une valeur manquante{where}.",
     "an empty field is a missing value{where}."},
    {Text::TableMissingValue, "{text} est une valeur manquante{where}.",
     "{text} is a missing value{where}."},
    {Text::TableNeedsEveryValue,
     " Rankora a besoin d'un tableau complet, ou chaque juge note chaque objet: completez la "
     "valeur, ou retirez le juge ou l'objet.",
     " Rankora needs a complete table, in which every judge scores every object: fill in the "
     "value, or remove the judge or the object."},
    {Text::TableNotANumber,
     "{text} n'est pas un nombre{where}. Chaque valeur doit etre un nombre; des noms ne "
     "peuvent figurer qu'en premiere ligne et en premiere colonne.",
     "{text} is not a number{where}. Every value must be a number; names can stand only in "
     "the first line and the first column."},
    {Text::TableSeparatorShown,
     " Les valeurs de ce fichier sont separees par {separator}, comme le montrent ses "
     "premieres lignes.",
     " Values in this file are separated by {separator}, as its first lines show."},
    {Text::TableNoDecimalCommas,
     " Des virgules decimales ne s'y lisent pas: utilisez des points decimaux, ou des "
     "points-virgules entre les valeurs.",
     " Decimal commas cannot be read there: use decimal points, or semicolons between the "
     "values."},
    {Text::SeparatorSemicolons, "des points-virgules", "semicolons"},
    {Text::SeparatorCommas, "des virgules", "commas"},
    {Text::SeparatorTabs, "des tabulations", "tabs"},
    {Text::SeparatorBlanks, "des blancs et des tabulations", "blanks and tabs"},
    {Text::TablePointAfterCommas,
     "{text} a un point decimal, mais la ligne {line}, champ {field} ({other}) a une virgule "
     "decimale.",
     "{text} has a decimal point, but line {line}, field {field} ({other}) has a decimal "
     "comma."},
    {Text::TableCommaAfterPoints,
     "{text} a une virgule decimale, mais la ligne {line}, champ {field} ({other}) a un point "
     "decimal.",
     "{text} has a decimal comma, but line {line}, field {field} ({other}) has a decimal "
     "point."},
    {Text::TableOneDecimalMark,
     " Un fichier n'a qu'une sorte de separateur decimal: si les points separent les "
     "milliers, retirez-les.",
     " A file has one decimal mark throughout: if points separate thousands, remove them."},
    {Text::TableRagged,
     "{file}, ligne {line}: {values}, alors que la ligne {other} en a {expected}. Chaque "
     "enregistrement doit avoir le meme nombre de valeurs: cherchez une valeur ou un "
     "separateur manquant ou en trop.",
     "{file}, line {line}: {values}, where line {other} has {expected}. Every record needs "
     "the same number of values: look for a missing or an extra value or separator."},
    {Text::TableHeaderCount,
     "{file}, ligne {line}: {count} noms pour {values} par enregistrement (ligne {other}). "
     "Donnez un nom a chaque colonne de valeurs.",
     "{file}, line {line}: {count} names for {values} a record (line {other}). Give each "
     "column of values one name."},
    {Text::TableSameNames,
     "{file}: les {things} {first} et {second} portent le meme nom {name} ({places}). Les "
     "noms doivent distinguer les {things}: renommez l'un d'eux, ou retirez {repeated}.",
     "{file}: {things} {first} and {second} are both named {name} ({places}). Names must "
     "tell the {things} apart: rename one, or remove {repeated}."},
    {Text::NamesOfJudges, "juges", "judges"},
    {Text::NamesOfObjects, "objets", "objects"},
    {Text::NamesOnLines, "lignes {first} et {second}", "lines {first} and {second}"},
    {Text::NamesInFields, "ligne {line}, champs {first} et {second}",
     "line {line}, fields {first} and {second}"},
    {Text::RepeatedRecord, "un enregistrement repete", "a repeated record"},
    {Text::RepeatedColumn, "une colonne repetee", "a repeated column"},
    {Text::TableSize, "{file} contient {judges} x {objects} ({orientation}): ",
     "{file} holds {judges} x {objects} ({orientation}): "},
    {Text::TableTooSmall, "Rankora a besoin d'au moins 2 juges et 2 objets.",
     "Rankora needs at least 2 judges and 2 objects."},
    {Text::TableOverCapacity, "Rankora accepte au plus {judges} et {objects}.",
     "Rankora takes at most {judges} and {objects}."},
    {Text::TableFitsTheOtherWay,
     " Avec {orientation}, ce serait {judges} x {objects}: si c'est le cas, ajoutez "
     "--judges {word}.",
     " With {orientation}, it would be {judges} x {objects}: if so, add --judges {word}."},
    {Text::JudgesAsRows, "les juges en lignes", "the judges as rows"},
    {Text::JudgesAsColumns, "les juges en colonnes", "the judges as columns"},
    {Text::OneJudge, "{count} juge", "{count} judge"},
    {Text::Judges, "{count} juges", "{count} judges"},
    {Text::OneObject, "{count} objet", "{count} object"},
    {Text::Objects, "{count} objets", "{count} objects"},
    {Text::OneValue, "{count} valeur", "{count} value"},
    {Text::Values, "{count} valeurs", "{count} values"},

    {Text::TableRead, "{judges} x {objects} lus dans {file}", "{judges} x {objects} from {file}"},
    {Text::NamesFromRowAndColumn, "; noms tires de la premiere ligne et de la premiere colonne",
     "; names from the first row and column"},
    {Text::NamesFromRow, "; noms tires de la premiere ligne", "; names from the first row"},
    {Text::NamesFromColumn, "; noms tires de la premiere colonne", "; names from the first column"},
    {Text::WithDecimalCommas, "; virgules decimales", "; decimal commas"},
    {Text::ReportWrittenTo, "Rapport ecrit dans {file}", "Report written to {file}"},
};

constexpr std::size_t kCount = static_cast<std::size_t>(Text::Count);
static_assert(std::size(kSentences) == kCount, "one sentence for each Text");

// The table is indexed by Text: every row must stand at its own place.
constexpr bool in_order() {
  for (std::size_t i = 0; i < kCount; ++i) {
    if (static_cast<std::size_t>(kSentences[i].id) != i) return false;
  }
  return true;
}
static_assert(in_order(), "the sentences stand in the order of Text");

}  // namespace

std::string_view pattern(int lang, Text id) {
  const Sentence& s = kSentences[static_cast<std::size_t>(id)];
  return french(lang) ? s.fr : s.en;
}

std::string sentence(int lang, Text id, std::initializer_list<rt::Placeholder> values) {
  return rt::fill(pattern(lang, id), values);
}

rt::ProgressTexts progress_texts(int lang) {
  return {std::string(pattern(lang, Text::ProgressGlobalTest)),
          std::string(pattern(lang, Text::ProgressJudges)),
          std::string(pattern(lang, Text::ProgressTimeLeft))};
}

}  // namespace rankora::report
