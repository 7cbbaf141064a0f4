// A data file's bytes as the table file reader goes through them. A file is read into one
// buffer of its size a chunk at a time, each chunk as the reader reaches it, so that the
// reader finds it still in the processor's caches; a pipe is read whole at once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace rankora {

class DataBytes {
 public:
  DataBytes() = default;
  // Text already in memory, whole, or served `chunk` bytes at a time as a file would be.
  explicit DataBytes(std::string_view text, std::size_t chunk = std::string_view::npos)
      : data_(text.data()),
        size_(std::min(text.size(), chunk)),
        capacity_(text.size()),
        chunk_(chunk) {}
  DataBytes(const DataBytes&) = delete;
  DataBytes& operator=(const DataBytes&) = delete;
  ~DataBytes();

  // Opens `path` ("-": the standard input). Returns 0, or errno: EISDIR for a folder,
  // EFBIG past `limit` bytes. A file is taken at the size it has when it is opened.
  int open(const std::string& path, std::size_t limit);

  // What is read so far; it stays where it is as more comes.
  std::string_view view() const { return {data_, size_}; }
  // Reads the next chunk: false when nothing more comes (the end, or a failed read).
  bool more();
  // errno of a read that failed after open(), or 0.
  int error() const { return error_; }

 private:
  void finish();

  std::unique_ptr<char[]> owned_;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // the bytes to come in all
  std::size_t chunk_ = std::size_t{1} << 17;
  int fd_ = -1;  // while a file is being read
  int error_ = 0;
};

}  // namespace rankora
