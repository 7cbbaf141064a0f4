#include "runtime/input_stream.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace rankora::rt {

void InputStream::attach(int fd) {
  fd_ = fd;
  if (!buf_) buf_ = std::make_unique<char[]>(kCapacity);
  pos_ = end_ = 0;
  base_ = lines_before_ = 0;
  at_end_ = false;
  error_ = 0;
  start_ = ::lseek(fd, 0, SEEK_CUR);
}

void InputStream::detach() {
  fd_ = -1;
  pos_ = end_ = 0;
}

int InputStream::refill() {
  if (at_end_) return kEof;
  // Input that cannot be read again has its lines counted as it goes; a file is read
  // again only when a line number is asked for.
  const auto line_ends = start_ < 0 ? std::count(buf_.get(), buf_.get() + end_, '\n') : 0;
  for (;;) {
    ssize_t n = ::read(fd_, buf_.get(), kCapacity);
    if (n > 0) {
      lines_before_ += line_ends;
      base_ += static_cast<std::int64_t>(end_);
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

std::int64_t InputStream::line_at(std::int64_t at) const {
  std::int64_t line_ends = lines_before_;
  if (start_ >= 0) {
    line_ends = 0;
    std::vector<char> chunk(kCapacity);
    const std::int64_t before = std::min(at, base_);
    for (std::int64_t done = 0; done < before;) {
      const auto want = static_cast<std::size_t>(std::min<std::int64_t>(kCapacity, before - done));
      const ssize_t n = ::pread(fd_, chunk.data(), want, start_ + done);
      if (n <= 0) break;
      line_ends += std::count(chunk.data(), chunk.data() + n, '\n');
      done += n;
    }
  }
  // Without a file to read again, a position before this buffer is given its line.
  const auto in_buffer = std::clamp<std::int64_t>(at - base_, 0, static_cast<std::int64_t>(end_));
  return line_ends + std::count(buf_.get(), buf_.get() + in_buffer, '\n') + 1;
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
