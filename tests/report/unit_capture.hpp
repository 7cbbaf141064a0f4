// Test helpers: a scratch directory, a descriptor redirected to a file for a while, and
// the report unit opened on a scratch file.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/units.hpp"

namespace rankora::testing_support {

inline std::string file_contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rankora-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
    return path_ / name;
  }

 private:
  std::filesystem::path path_;
};

// While alive, descriptor `fd` reads from or writes to `file`.
class Redirect {
 public:
  Redirect(int fd, const std::filesystem::path& file, bool for_reading) : fd_(fd) {
    std::fflush(nullptr);
    saved_ = ::dup(fd);
    const int opened = for_reading ? ::open(file.c_str(), O_RDONLY)
                                   : ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(opened, fd);
    ::close(opened);
  }
  ~Redirect() { restore(); }
  Redirect(const Redirect&) = delete;
  Redirect& operator=(const Redirect&) = delete;

  void restore() {
    if (saved_ < 0) return;
    ::dup2(saved_, fd_);
    ::close(saved_);
    saved_ = -1;
  }

 private:
  int fd_;
  int saved_ = -1;
};

// The screen (descriptor 1) and the report unit, each on a scratch file.
class OutputCapture {
 public:
  explicit OutputCapture(const ScratchDir& dir)
      : screen_file_(dir.path() / "screen"),
        report_file_(dir.path() / "Rankora.out"),
        screen_(STDOUT_FILENO, screen_file_, false) {
    rt::open_new(rt::kReportUnit, report_file_.string());
  }
  ~OutputCapture() { finish(); }
  OutputCapture(const OutputCapture&) = delete;
  OutputCapture& operator=(const OutputCapture&) = delete;

  void finish() {
    if (finished_) return;
    finished_ = true;
    rt::close_unit(rt::kReportUnit);
    screen_.restore();
  }
  std::string screen() {
    finish();
    return file_contents(screen_file_);
  }
  std::string report() {
    finish();
    return file_contents(report_file_);
  }

 private:
  std::filesystem::path screen_file_;
  std::filesystem::path report_file_;
  Redirect screen_;
  bool finished_ = false;
};

// The lines of a text that must end with a line feed, without their line feeds.
inline std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "the text does not end with a line feed";
  return lines;
}

}  // namespace rankora::testing_support
