// The statement scripts shared by the libf2c comparison and the fuzz targets: a script
// is a list of words, each one read statement (iN, dN, cN) or the opening of the data
// file (Fname). Running a word with our reader gives the same line as the libf2c
// program gives for it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rankora::oracle {

inline constexpr int kMaxItems = 64;
inline constexpr int kMaxText = 256;

struct Statement {
  char kind;  // 'i', 'd' or 'c'
  int count;  // items, or the text's length
};

// The statement a word stands for, or nothing when the word is not one.
std::optional<Statement> parse_statement(std::string_view word);

class ScriptRunner {
 public:
  // Runs one word. A statement appends its result line to `out`; a malformed input ends
  // the process as the reader does.
  void run(std::string_view word, std::string& out);

  int unit() const { return unit_; }

 private:
  int unit_ = 5;
};

}  // namespace rankora::oracle
