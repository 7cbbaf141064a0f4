// rankora-panel JUDGES OBJECTS SEED FILE [KIND]: writes the panel of that size, seed and
// kind (moderate, untied or concordant; panel.hpp) to FILE, judges as rows. Used by
// run-capacity and vs-floor, so that no scripting language is needed.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string_view>

#include "panel.hpp"

namespace {

template <typename Number>
bool parse(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  using rankora::bench::PanelKind;
  int judges = 0;
  int objects = 0;
  std::uint64_t seed = 0;
  const std::string_view kind = argc == 6 ? argv[5] : "moderate";
  if ((argc != 5 && argc != 6) || !parse(argv[1], judges) || !parse(argv[2], objects) ||
      !parse(argv[3], seed) || judges < 1 || objects < 1 ||
      (kind != "moderate" && kind != "untied" && kind != "concordant")) {
    std::fprintf(stderr,
                 "usage: rankora-panel JUDGES OBJECTS SEED FILE [moderate|untied|concordant]"
                 " (counts of at least 1)\n");
    return 2;
  }
  std::ofstream out(argv[4], std::ios::binary);
  const PanelKind panel_kind = kind == "untied"       ? PanelKind::kUntied
                               : kind == "concordant" ? PanelKind::kConcordant
                                                      : PanelKind::kModerate;
  rankora::bench::write_panel(out,
                              rankora::bench::make_panel(judges, objects, seed, panel_kind));
  out.close();
  if (!out) {
    std::fprintf(stderr, "rankora-panel: cannot write %s\n", argv[4]);
    return 1;
  }
  return 0;
}
