// A buffered byte source with one character of push-back and a sticky end of file. It
// knows where it stands (byte offset, line) so that a failed read can say where.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace rankora::rt {

inline constexpr int kEof = -1;

class InputStream {
 public:
  void attach(int fd);
  void detach();

  int get() {
    if (pos_ < end_) return static_cast<unsigned char>(buf_[pos_++]);
    return refill();
  }
  // Only ever the character just read; the end of file is not pushed back.
  void unget(int c) {
    if (c != kEof) --pos_;
  }

  // Set once a read has found the end of the file; later gets return kEof at once.
  bool at_end() const { return at_end_; }
  // errno of a failed read, or 0. A failed read returns kEof without ending the file.
  int error() const { return error_; }
  void clear_error() { error_ = 0; }

  // What the buffer holds that is not read yet, and how to take some of it at once.
  std::string_view buffered() const { return {buf_.get() + pos_, end_ - pos_}; }
  void skip(std::size_t count) { pos_ += count; }

  // Bytes read so far: the offset of the next character.
  std::int64_t offset() const { return base_ + static_cast<std::int64_t>(pos_); }
  // The 1-based line of the byte at `at` (at most offset()), counted only when asked.
  std::int64_t line_at(std::int64_t at) const;
  // From `at` (or the oldest byte still held) to the end of its line, as far as held.
  std::string_view rest_of_line(std::int64_t at) const;
  // Consumes `prefix` when the input starts with it.
  void skip_prefix(std::string_view prefix);

 private:
  int refill();

  static constexpr std::size_t kCapacity = 1 << 16;
  int fd_ = -1;
  std::unique_ptr<char[]> buf_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::int64_t base_ = 0;          // offset of buf_[0]
  std::int64_t start_ = -1;        // file offset of the first byte, -1 when it cannot seek
  std::int64_t lines_before_ = 0;  // line ends before buf_[0], counted when it cannot seek
  bool at_end_ = false;
  int error_ = 0;
};

}  // namespace rankora::rt
