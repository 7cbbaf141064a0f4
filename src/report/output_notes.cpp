#include "report/output_notes.hpp"

#include <cerrno>
#include <cstring>

#include "report/sentences.hpp"

namespace rankora::report {
namespace {

// {1} the output, {2} the report, {3} the step, {4} the system's reason.
constexpr Sentence kNotWritten{
    "rankora: {1} n'a pas pu etre ecrit ({3}: {4}). Le rapport {2} est complet.",
    "rankora: {1} could not be written ({3}: {4}). The report {2} is complete."};
constexpr Sentence kAppeared{
    "rankora: {1} est apparu pendant le calcul: il est reste tel quel et ces resultats n'y "
    "sont pas. Relancez avec --force pour le remplacer, ou donnez un autre nom. Le rapport {2} "
    "est complet.",
    "rankora: {1} appeared while Rankora ran: it was left as it was, without these results. "
    "Run again with --force to replace it, or give another name. The report {2} is complete."};
constexpr Sentence kSteps[] = {
    {"creation d'un fichier temporaire dans son dossier", "creating a temporary file in its folder"},
    {"ecriture", "writing"},
    {"enregistrement sur le disque", "saving it to disk"},
    {"fermeture", "closing"},
    {"mise en place sous son nom", "giving it its name"}};

}  // namespace

std::string output_failure_line(int lang, std::string_view output, std::string_view report,
                                const rt::OutputFailure& failure) {
  if (failure.step == rt::OutputStep::Rename && failure.error == EEXIST) {
    return filled(in(lang, kAppeared), {output, report});
  }
  return filled(in(lang, kNotWritten), {output, report,
                                      in(lang, kSteps[static_cast<int>(failure.step)]),
                                      std::strerror(failure.error)});
}

}  // namespace rankora::report
