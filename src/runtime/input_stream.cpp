#include "runtime/input_stream.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rankora::rt {

void InputStream::attach(int fd) {
  fd_ = fd;
  if (!buf_) buf_ = std::make_unique<char[]>(kCapacity);
  pos_ = end_ = counted_ = 0;
  base_ = lines_ = 0;
  at_end_ = false;
  error_ = 0;
}

void InputStream::detach() {
  fd_ = -1;
  pos_ = end_ = counted_ = 0;
}

int InputStream::refill() {
  if (at_end_) return kEof;
  const auto line_ends = std::count(buf_.get() + counted_, buf_.get() + end_, '\n');
  for (;;) {
    ssize_t n = ::read(fd_, buf_.get(), kCapacity);
    if (n > 0) {
      lines_ += line_ends;
      base_ += static_cast<std::int64_t>(end_);
      counted_ = 0;
      pos_ = 1;
      end_ = static_cast<std::size_t>(n);
      return static_cast<unsigned char>(buf_[0]);
    }
    // The last bytes stay held: a read that fails there can still show them.
    if (n == 0) {
      at_end_ = true;
      return kEof;
    }
    if (errno == EINTR) continue;
    error_ = errno;
    return kEof;
  }
}

std::int64_t InputStream::line_at(std::int64_t at) {
  const char* buf = buf_.get();
  lines_ += std::count(buf + counted_, buf + std::max(counted_, pos_), '\n');
  counted_ = std::max(counted_, pos_);
  // A position before this buffer is rare (a value split by a refill): its line is then
  // given as the current one.
  const std::size_t from = at > base_ ? static_cast<std::size_t>(at - base_) : 0;
  return lines_ + 1 - std::count(buf + std::min(from, counted_), buf + counted_, '\n');
}

std::string_view InputStream::rest_of_line(std::int64_t at) const {
  const char* buf = buf_.get();
  const std::size_t from = at > base_ ? std::min(static_cast<std::size_t>(at - base_), end_) : 0;
  const char* stop = std::find(buf + from, buf + end_, '\n');
  return {buf + from, static_cast<std::size_t>(stop - (buf + from))};
}

void InputStream::skip_prefix(std::string_view prefix) {
  if (pos_ == end_) {
    if (refill() == kEof) {
      // Only a look: the next read finds the end (or the error) again.
      at_end_ = false;
      error_ = 0;
      return;
    }
    pos_ = 0;  // refill hands out the first byte: take it back
  }
  if (std::string_view(buf_.get() + pos_, end_ - pos_).starts_with(prefix)) pos_ += prefix.size();
}

}  // namespace rankora::rt
