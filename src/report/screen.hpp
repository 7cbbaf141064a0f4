// Everything the dialogue shows on the screen, in French (lang 1) or English.
#pragma once

#include <string_view>

namespace rankora::report {

void show_language_question();
void show_capacity(int lang, int maxj, int maxobj);
void show_empty_line();
void show_size_question(int lang);
void show_too_many_objects(int lang);
void show_too_many_judges(int lang);
void show_too_few(int lang);
void show_orientation_question(int lang);
void show_file_name_question(int lang);
void show_tie_question(int lang);
void show_permutation_question(int lang);
void show_closing_message(int lang);

}  // namespace rankora::report
