// A buffered byte source with one character of push-back and a sticky end of file.
#pragma once

#include <cstddef>
#include <memory>

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

 private:
  int refill();

  static constexpr std::size_t kCapacity = 1 << 16;
  int fd_ = -1;
  std::unique_ptr<char[]> buf_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
  int error_ = 0;
};

}  // namespace rankora::rt
