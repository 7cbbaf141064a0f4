#include "report/screen.hpp"

#include "report/language.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora::report {
namespace {

using rt::FormatItem;
using rt::int_field;
using rt::lit;
using rt::slash;

constexpr int kScreen = rt::kScreenUnit;

void say(std::string_view text) { rt::write_list(kScreen, {text}); }

void say(int lang, std::string_view fr, std::string_view en) { say(french(lang) ? fr : en); }

constexpr FormatItem kCapacityFr[] = {lit(" Taille maximum du tableau de donnees:"),
                                      slash(),
                                      int_field(7),
                                      lit(" juges (ou especes)"),
                                      slash(),
                                      int_field(7),
                                      lit(" objets"),
                                      slash()};
constexpr FormatItem kCapacityEn[] = {lit(" Maximum size of the input data table:"),
                                      slash(),
                                      int_field(7),
                                      lit(" judges (or species)"),
                                      slash(),
                                      int_field(7),
                                      lit(" objects"),
                                      slash()};

constexpr FormatItem kTieQuestionFr[] = {slash(), lit(" Test (1) avec ou (2) sans correction"),
                                         lit(" pour valeurs liees?")};
constexpr FormatItem kTieQuestionEn[] = {slash(),
                                         lit(" Test (1) with or (2) without correction for ties?")};

}  // namespace

void show_language_question() {
  say("Francais: tapez (1)");
  say("English:  type  (2)");
}

void show_capacity(int lang, int maxj, int maxobj) {
  rt::write_formatted(kScreen, french(lang) ? rt::Format(kCapacityFr) : rt::Format(kCapacityEn),
                      {maxj, maxobj});
}

void show_empty_line() { rt::write_list(kScreen, {}); }

void show_size_question(int lang) {
  say(lang, "Combien de juges et d'objets?", "How many judges and objects?");
}

void show_too_many_objects(int lang) {
  say(lang, "Trop d'objets. Recompiler le programme.", "Too many objects. Recompile the program.");
}

void show_too_many_judges(int lang) {
  say(lang, "Trop de juges. Recompiler le programme.", "Too many judges. Recompile the program.");
}

void show_too_few(int lang) {
  say(lang, "Il faut au moins 2 juges et 2 objets.", "At least 2 judges and 2 objects are needed.");
}

void show_orientation_question(int lang) {
  say(lang, "(1) Les juges sont les lignes du fichier d'entree",
      "(1) Judges are the rows of the input data file");
  say(lang, "(2) Les juges sont les colonnes du fichier d'entree",
      "(2) Judges are the columns of the input data file");
}

void show_file_name_question(int lang) {
  say(lang, "Nom du fichier de donnees?", "Name of the input data file?");
}

void show_tie_question(int lang) {
  rt::write_formatted(kScreen,
                      french(lang) ? rt::Format(kTieQuestionFr) : rt::Format(kTieQuestionEn));
}

void show_permutation_question(int lang) {
  rt::write_list(kScreen, {french(lang) ? "Combien de permutations? " : "How many permutations? ",
                           "(e.g., 999, 9999, ...)"});
}

void show_closing_message(int lang) {
  say(lang, "Les resultats se trouvent dans le fichier 'Rankora.out'",
      "Results are found in file 'Rankora.out'");
  say(lang, "Fin du programme.", "End of the program.");
}

}  // namespace rankora::report
