// Our reader behind the same command line as the libf2c program (f2c_list_oracle.c),
// so that the two can be compared byte for byte.
#include <cstdio>
#include <string>

#include "list_read_script.hpp"
#include "runtime/process.hpp"
#include "runtime/units.hpp"

int main(int argc, char** argv) {
  using namespace rankora;
  rt::connect_standard_units();
  oracle::ScriptRunner runner;
  for (int a = 1; a < argc; ++a) {
    const std::string_view word(argv[a]);
    if (word.empty() || (word[0] != 'F' && !oracle::parse_statement(word))) {
      std::fprintf(stderr, "bad script word %s\n", argv[a]);
      return 2;
    }
    std::string line;
    runner.run(word, line);
    // Written at once: a later fatal error must not lose it.
    rt::write_all(1, line);
  }
  return 0;
}
