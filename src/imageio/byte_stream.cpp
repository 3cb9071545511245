// File and memory byte sinks, and the buffered byte source.
#include "imageio/byte_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace quorvane::imageio {

FileSink::FileSink(const char *path) {
  errno = 0;
  file_ = path != nullptr ? std::fopen(path, "wb") : nullptr;
  if (file_ == nullptr) fail();
}

void FileSink::fail() {
  // The C library sets errno for every failure here; EIO stands in should
  // one leave it unset.
  if (!failed_) errorNumber_ = errno != 0 ? errno : EIO;
  failed_ = true;
}

FileSink::~FileSink() {
  if (file_ != nullptr) std::fclose(file_);
}

void FileSink::write(const void *data, size_t n) {
  if (failed_ || n == 0) return;
  errno = 0;
  if (std::fwrite(data, 1, n, file_) != n) fail();
}

void FileSink::flush() {
  if (failed_) return;
  errno = 0;
  if (std::fflush(file_) != 0) fail();
}

bool FileSink::close() {
  if (file_ != nullptr) {
    errno = 0;
    if (std::fclose(file_) != 0) fail();
    file_ = nullptr;
  }
  return !failed_;
}

void MemorySink::write(const void *data, size_t n) {
  if (failed_ || n == 0) return;
  try {
    const char *p = static_cast<const char *>(data);
    bytes_.insert(bytes_.end(), p, p + n);
  } catch (const std::bad_alloc &) {
    failed_ = true;
  }
}

namespace {
constexpr size_t kFileBufferBytes = 64 * 1024;
}

ByteSource::ByteSource(const uint8_t *data, size_t size)
    : buffer_(data), pos_(0), end_(data != nullptr ? size : 0) {}

ByteSource::ByteSource(std::FILE *file) : file_(file), storage_(kFileBufferBytes) {
  buffer_ = storage_.data();
}

bool ByteSource::refill() {
  if (file_ == nullptr) return false;
  pos_ = 0;
  end_ = std::fread(storage_.data(), 1, storage_.size(), file_);
  return end_ > 0;
}

size_t ByteSource::read(uint8_t *dst, size_t n) {
  size_t done = 0;
  while (done < n) {
    if (pos_ == end_ && !refill()) break;
    const size_t take = std::min(n - done, end_ - pos_);
    std::memcpy(dst + done, buffer_ + pos_, take);
    pos_ += take;
    done += take;
  }
  return done;
}

bool ByteSource::skip(size_t n) {
  while (n > 0) {
    if (pos_ == end_ && !refill()) return false;
    const size_t take = std::min(n, end_ - pos_);
    pos_ += take;
    n -= take;
  }
  return true;
}

}  // namespace quorvane::imageio
