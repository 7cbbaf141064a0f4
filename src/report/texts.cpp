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

    // {left} is the time left, or nothing while it cannot be told yet.
    {Text::ProgressGlobalTest, " Test global: {percent}{left}", " Global test: {percent}{left}"},
    {Text::ProgressJudges, " Juges testes: {done} sur {count} ({percent}){left}",
     " Judges tested: {done} of {count} ({percent}){left}"},
    {Text::ProgressTimeLeft, ", encore environ {time}", ", about {time} left"},
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
