// Byte sinks the writers encode into, and the byte source the readers decode
// from. A sink never throws: a write that fails (disk full, out of memory)
// marks it failed and later writes are dropped, so the encoders can report
// the failure once at the end. The source reads a file or a memory block
// through one buffer, so the readers are the same code for both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace quorvane::imageio {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void write(const void *data, size_t n) = 0;
  virtual void flush() {}
  void put(uint8_t byte) { write(&byte, 1); }
  bool failed() const { return failed_; }

 protected:
  bool failed_ = false;
};

// Writes to a file opened (created or truncated) for binary writing.
class FileSink final : public ByteSink {
 public:
  explicit FileSink(const char *path);
  ~FileSink() override;
  FileSink(const FileSink &) = delete;
  FileSink &operator=(const FileSink &) = delete;
  void write(const void *data, size_t n) override;
  void flush() override;
  // Closes the file; false when it could not be opened, written or closed.
  bool close();
  // The errno of the first step that failed (opening, writing, flushing or
  // closing); 0 while none has.
  int errorNumber() const { return errorNumber_; }

 private:
  void fail();

  std::FILE *file_ = nullptr;
  int errorNumber_ = 0;
};

// Collects the bytes in a growing buffer.
class MemorySink final : public ByteSink {
 public:
  void write(const void *data, size_t n) override;
  std::vector<char> &bytes() { return bytes_; }

 private:
  std::vector<char> bytes_;
};

class ByteSource {
 public:
  // Reads the memory block, which must outlive the source.
  ByteSource(const uint8_t *data, size_t size);
  // Reads an open file; the caller keeps ownership of it.
  explicit ByteSource(std::FILE *file);
  ByteSource(const ByteSource &) = delete;
  ByteSource &operator=(const ByteSource &) = delete;

  // Up to n bytes into dst; fewer only at the end of the data.
  size_t read(uint8_t *dst, size_t n);
  bool readExact(uint8_t *dst, size_t n) { return read(dst, n) == n; }
  bool readByte(uint8_t &b) {
    if (pos_ == end_ && !refill()) return false;
    b = buffer_[pos_++];
    return true;
  }
  bool skip(size_t n);

 private:
  bool refill();

  std::FILE *file_ = nullptr;
  const uint8_t *buffer_ = nullptr;
  size_t pos_ = 0;
  size_t end_ = 0;
  std::vector<uint8_t> storage_;  // the file's buffer
};

}  // namespace quorvane::imageio
