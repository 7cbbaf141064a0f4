#include "report/notes.hpp"

#include <string>

#include "report/language.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora::report {
namespace {

constexpr std::string_view kPrefix = "rankora: ";

std::string_view in(int lang, std::string_view fr, std::string_view en) {
  return french(lang) ? fr : en;
}

// Typed or file text, quoted, as it can stand in a message: a tab is a blank, other
// control bytes (a carriage return, a NUL) are written as escapes, trailing blanks go.
std::string shown(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out.append("\\r");
    } else if (byte < 0x20 && c != '\t') {
      constexpr char kHex[] = "0123456789abcdef";
      out.append("\\x").push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    } else {
      out.push_back(c == '\t' ? ' ' : c);
    }
  }
  out.erase(out.find_last_not_of(' ') + 1);
  return '"' + out + '"';
}

std::string joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text.append(part);
  return text;
}

std::string line(std::initializer_list<std::string_view> parts) {
  return std::string(kPrefix) + joined(parts);
}

void say(std::initializer_list<std::string_view> parts) {
  rt::write_text(rt::kErrorUnit, line(parts) + "\n");
}

std::string_view question_text(int lang, Question question) {
  switch (question) {
    case Question::Size:
      return in(lang, "\"Combien de juges et d'objets?\"", "\"How many judges and objects?\"");
    case Question::Orientation:
      return in(lang, "la question de l'orientation", "the orientation question");
    case Question::FileName:
      return in(lang, "\"Nom du fichier de donnees?\"", "\"Name of the input data file?\"");
    case Question::Ties:
      return in(lang, "la question des ex-aequo", "the tie question");
    case Question::Permutations:
      return in(lang, "\"Combien de permutations?\"", "\"How many permutations?\"");
    case Question::Language:
      break;
  }
  return in(lang, "la question de la langue", "the language question");
}

std::string_view expected_answer(int lang, Question question) {
  switch (question) {
    case Question::Size:
      return in(lang, "tapez deux nombres entiers, par exemple 9 8",
                "type two whole numbers, such as 9 8");
    case Question::Orientation:
      return in(lang, "tapez 1 (juges en lignes) ou 2 (juges en colonnes)",
                "type 1 (judges are rows) or 2 (judges are columns)");
    case Question::Permutations:
      return in(lang, "tapez un nombre entier, par exemple 999",
                "type a whole number, such as 999");
    default:
      return in(lang, "tapez 1 ou 2", "type 1 or 2");
  }
}

std::string count(std::int64_t value) { return std::to_string(value); }

// The first word of what was typed: the value that could not be read.
std::string_view first_word(std::string_view text) {
  return text.substr(0, text.find_first_of(" \t,/"));
}

}  // namespace

std::string AnswerContext::explain(const rt::ReadFailure& failure) const {
  // The language is not known yet: both are spoken.
  if (question_ == Question::Language) {
    if (failure.end_of_file) return line({"pas de reponse / no answer: 1 = francais, 2 = English"});
    return line({shown(failure.typed), ": tapez 1 pour le francais / type 2 for English"});
  }
  if (failure.end_of_file) {
    return line({in(lang_, "les reponses se sont arretees a ", "the answers ran out at "),
                 question_text(lang_, question_), "."});
  }
  return line({shown(failure.typed), in(lang_, " ne repond pas a ", " does not answer "),
               question_text(lang_, question_), ": ", expected_answer(lang_, question_), "."});
}

std::string explain_data_failure(int lang, std::string_view fname, const TablePlace& place,
                                 const rt::ReadFailure& failure) {
  if (failure.end_of_file) {
    return line({fname, in(lang, " s'arrete apres ", " ended after "), count(place.values_read),
                 in(lang, " des ", " of the "), count(place.values_expected),
                 in(lang, " valeurs attendues (", " values expected ("), count(place.njudge),
                 in(lang, " juges x ", " judges x "), count(place.nobj),
                 in(lang, " objets): verifiez la taille et l'orientation repondues.",
                    " objects): check the size and orientation answered.")});
  }
  const std::string where =
      joined({in(lang, "ligne ", "line "), count(failure.line), in(lang, " de ", " of "), fname});
  const std::string judge_object =
      joined({in(lang, " (juge ", " (judge "), count(place.judge),
              in(lang, ", objet ", ", object "), count(place.object), ")."});
  const std::string_view word = first_word(failure.typed);
  if (word.empty())
    return line({where, in(lang, ": lecture impossible", ": unreadable"), judge_object});
  return line({where, ": ", shown(word), in(lang, " n'est pas un nombre", " is not a number"),
               judge_object});
}

void warn_text_after_records(int lang, std::string_view fname, std::int64_t lines,
                             std::int64_t first_line, std::string_view start) {
  const bool one = lines == 1;
  say({in(lang,
          "attention: du texte apres la derniere valeur d'un enregistrement a ete ignore sur ",
          "warning: text after the last value of a record was ignored on "),
       count(lines),
       one ? in(lang, " ligne de ", " line of ") : in(lang, " lignes de ", " lines of "), fname,
       one ? " (" : in(lang, " (la premiere est la ", " (the first is "),
       in(lang, "ligne ", "line "), count(first_line), ": ", shown(start), ")."});
  say({in(lang,
          "En general, la taille ou l'orientation repondue ne correspond pas au fichier, ou le "
          "fichier a des virgules decimales (36,5 est lu comme 36 et 5). Une note en fin de "
          "ligne est sans danger et peut rester.",
          "This usually means that the size or orientation answered does not match the file, "
          "or that the file has decimal commas (36,5 is read as 36 and 5). A note at the end "
          "of a line is fine and can be left.")});
}

void warn_text_after_table(int lang, std::string_view fname, std::int64_t line) {
  say({in(lang, "attention: ", "warning: "), fname,
       in(lang, " continue apres le dernier enregistrement: tout, a partir de la ligne ",
          " goes on after the last record: everything from line "),
       count(line), in(lang, ", a ete ignore.", " on was ignored.")});
  say({in(lang, "En general, la taille ou l'orientation repondue ne correspond pas au fichier.",
          "This usually means that the size or orientation answered does not match the file.")});
}

}  // namespace rankora::report
