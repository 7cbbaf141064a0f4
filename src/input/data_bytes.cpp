#include "input/data_bytes.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace rankora {
DataBytes::~DataBytes() { finish(); }

void DataBytes::finish() {
  if (fd_ > STDIN_FILENO) ::close(fd_);
  fd_ = -1;
}

int DataBytes::open(const std::string& path, std::size_t limit) {
  const bool standard_input = path == "-";
  const int fd = standard_input ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  fd_ = fd;
  struct stat status {};
  const int error = ::fstat(fd, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
  if (error != 0 || (S_ISREG(status.st_mode) && static_cast<std::size_t>(status.st_size) > limit)) {
    finish();
    return error != 0 ? error : EFBIG;
  }
  if (S_ISREG(status.st_mode)) {
    capacity_ = static_cast<std::size_t>(status.st_size);
    // Neither zeroed nor copied: the largest buffer of a command-line run.
    owned_ = std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(capacity_, 1));
    data_ = owned_.get();
    return 0;
  }
  // A pipe's length is known only at its end: read whole, growing as it comes.
  capacity_ = chunk_;
  owned_ = std::make_unique_for_overwrite<char[]>(capacity_);
  data_ = owned_.get();
  for (;;) {
    if (size_ == capacity_) {
      if (size_ > limit) {
        finish();
        return EFBIG;
      }
      auto larger = std::make_unique_for_overwrite<char[]>(capacity_ *= 2);
      std::copy_n(owned_.get(), size_, larger.get());
      owned_ = std::move(larger);
      data_ = owned_.get();
    }
    const ssize_t n = ::read(fd_, owned_.get() + size_, capacity_ - size_);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int failure = n < 0 ? errno : 0;
      finish();
      return failure;
    }
    size_ += static_cast<std::size_t>(n);
  }
}

bool DataBytes::more() {
  if (fd_ < 0 && size_ < capacity_ && !owned_) {
    size_ += std::min(chunk_, capacity_ - size_);
    return true;
  }
  while (fd_ >= 0 && size_ < capacity_) {
    const ssize_t n = ::read(fd_, owned_.get() + size_, std::min(chunk_, capacity_ - size_));
    if (n > 0) {
      size_ += static_cast<std::size_t>(n);
      return true;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error_ = errno;
    break;
  }
  finish();
  return false;
}

}  // namespace rankora
