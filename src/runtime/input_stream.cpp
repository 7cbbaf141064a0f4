#include "runtime/input_stream.hpp"

#include <unistd.h>

#include <cerrno>

namespace rankora::rt {

void InputStream::attach(int fd) {
  fd_ = fd;
  if (!buf_) buf_ = std::make_unique<char[]>(kCapacity);
  pos_ = end_ = 0;
  at_end_ = false;
  error_ = 0;
}

void InputStream::detach() {
  fd_ = -1;
  pos_ = end_ = 0;
}

int InputStream::refill() {
  if (at_end_) return kEof;
  for (;;) {
    ssize_t n = ::read(fd_, buf_.get(), kCapacity);
    if (n > 0) {
      pos_ = 1;
      end_ = static_cast<std::size_t>(n);
      return static_cast<unsigned char>(buf_[0]);
    }
    if (n == 0) {
      at_end_ = true;
      pos_ = end_ = 0;
      return kEof;
    }
    if (errno == EINTR) continue;
    error_ = errno;
    pos_ = end_ = 0;
    return kEof;
  }
}

}  // namespace rankora::rt
