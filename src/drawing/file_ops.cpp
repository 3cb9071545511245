// The image-file operations of DrawArea: format choice by file name, the
// pattern made from an image file, and the glue between the area and the
// codecs: readers decode into a temporary image that replaces the area only
// on success; writers encode into a file or into the area's memory output,
// and each output leaves its reason in the area's last error (empty when it
// succeeded).
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <system_error>

#include "drawing/draw_area_impl.h"
#include "imageio/codecs.h"
#include "imageio/palette.h"

namespace quorvane {

namespace {

// Case-insensitive test of a file name's ending.
bool endsWith(const char *name, const char *ending) {
  const size_t n = std::strlen(name);
  const size_t m = std::strlen(ending);
  if (n < m) return false;
  for (size_t i = 0; i < m; ++i)
    if (std::tolower(static_cast<unsigned char>(name[n - m + i])) != ending[i]) return false;
  return true;
}

constexpr const char *kNoFileName = "no file name";

bool deliver(MemBlock block, const char **data, int *len) {
  if (data != nullptr) *data = block.data;
  if (len != nullptr) *len = block.len;
  return block.data != nullptr;
}

}  // namespace

// Stepped smooth blends are settled into a palette's colours before a
// palette image is written (drawing/blend_levels.h); the transparent colour
// takes one entry.
void DrawAreaImpl::settleSmoothLevels(bool isPalette) {
  if (!isPalette || surface_.steppedBlends().isEmpty()) return;
  surface_.settleLevels(imageio::kPaletteColors - (transparentColor_ != kTransparent ? 1 : 0));
}

imageio::ImageView DrawAreaImpl::imageView() const {
  imageio::ImageView v;
  v.pixels = surface_.pixelData();
  v.width = surface_.width();
  v.height = surface_.height();
  v.interlace = interlace_ != 0;
  v.transparentColor = transparentColor_;
  v.paletteMode = paletteMode_;
  v.ditherMethod = ditherMethod_;
  return v;
}

void DrawAreaImpl::adoptImage(int width, int height, std::vector<uint32_t> &&pixels) {
  surface_.adopt(width, height, std::move(pixels));
}

void DrawAreaImpl::explainEncoderFailure(const char *format, bool encoded) {
  if (encoded) {
    lastError_.set("the ", format, " image is larger than a MemBlock holds (",
                   std::to_string(INT_MAX), " bytes)");
    return;
  }
  const int w = surface_.width(), h = surface_.height();
  std::string limit;
  if (std::strcmp(format, "JPEG") == 0 && std::max(w, h) > imageio::kJpegMaxSide)
    limit = ": JPEG holds at most " + std::to_string(imageio::kJpegMaxSide) + " pixels a side";
  lastError_.set("cannot encode a ", std::to_string(w), " x ", std::to_string(h), " image as ",
                 format, limit);
}

template <typename Encode>
bool DrawAreaImpl::encodeToFile(const char *filename, const char *format, Encode encode) {
  return reportingFailures(lastError_, false, [&] {
    if (filename == nullptr) {
      lastError_.setFixed(kNoFileName);
      return false;
    }
    imageio::FileSink sink(filename);
    if (!sink.failed()) {  // opened: encode, then close even when encoding failed
      const bool encoded = encode(sink);
      const bool closed = sink.close();
      if (encoded && closed) return true;
      if (!sink.failed()) {
        explainEncoderFailure(format, false);
        return false;
      }
    }
    // The path as the host gave it; the caller decides how to show it.
    lastError_.set("cannot write ", filename, ": ",
                   std::generic_category().message(sink.errorNumber()));
    return false;
  });
}

MemBlock DrawAreaImpl::keepMemoryOutput(bool encoded, std::vector<char> &&bytes) {
  memoryOutput_ = std::move(bytes);
  if (!encoded || memoryOutput_.empty() || memoryOutput_.size() > static_cast<size_t>(INT_MAX)) {
    memoryOutput_ = std::vector<char>();
    return MemBlock{0, nullptr};
  }
  return MemBlock{static_cast<int>(memoryOutput_.size()), memoryOutput_.data()};
}

namespace {

bool loadInto(DrawAreaImpl &area, const char *filename, imageio::ImageReader reader,
              bool *progressive = nullptr) {
  imageio::DecodedImage image;
  if (!imageio::readImageFile(filename, reader, image)) return false;
  if (progressive != nullptr) *progressive = image.progressive;
  area.adoptImage(image.width, image.height, std::move(image.pixels));
  return true;
}

}  // namespace

// A loader that runs out of memory has not adopted anything yet: the area
// stays as it was.
bool DrawAreaImpl::loadGIF(const char *filename) {
  return guarded(false, [&] { return loadInto(*this, filename, imageio::readGif); });
}
bool DrawAreaImpl::loadPNG(const char *filename) {
  return guarded(false, [&] { return loadInto(*this, filename, imageio::readPng); });
}
bool DrawAreaImpl::loadWMP(const char *filename) {
  return guarded(false, [&] { return loadInto(*this, filename, imageio::readWbmp); });
}
bool DrawAreaImpl::loadJPG(const char *filename) {
  return guarded(false, [&] {
    bool progressive = false;
    if (!loadInto(*this, filename, imageio::readJpeg, &progressive)) return false;
    interlace_ = progressive ? 1 : 0;
    return true;
  });
}

bool DrawAreaImpl::load(const char *filename) {
  if (filename == nullptr) return false;
  if (endsWith(filename, ".jpg") || endsWith(filename, ".jpeg")) return loadJPG(filename);
  if (endsWith(filename, ".png")) return loadPNG(filename);
  if (endsWith(filename, ".wbmp") || endsWith(filename, ".wmp")) return loadWMP(filename);
  return loadGIF(filename);  // ".gif" and every other name
}

int DrawAreaImpl::patternColor2(const char *filename, int startX, int startY) {
  return guarded(static_cast<int>(kTransparent), [&] {
    // A file that cannot be read gives a 1 x 1 white pattern.
    DrawAreaImpl image;
    image.load(filename);
    const Surface &pixels = image.surface_;
    return patternColor(reinterpret_cast<const int *>(pixels.pixelData()), pixels.width(),
                        pixels.height(), startX, startY);
  });
}

bool DrawAreaImpl::out(const char *filename) {
  if (filename == nullptr) {
    lastError_.setFixed(kNoFileName);
    return false;
  }
  if (endsWith(filename, ".gif")) return outGIF(filename);
  if (endsWith(filename, ".jpg") || endsWith(filename, ".jpeg")) return outJPG(filename, 80);
  if (endsWith(filename, ".png")) return outPNG(filename);
  if (endsWith(filename, ".wbmp") || endsWith(filename, ".wmp")) return outWMP(filename);
  return outPNG(filename);
}

// Outputs that run out of memory fail; the pixels are untouched, so a later
// output may succeed.
bool DrawAreaImpl::outGIF(const char *filename) {
  return encodeToFile(filename, "GIF", [&](imageio::ByteSink &s) {
    settleSmoothLevels(true);
    return imageio::writeGif(s, imageView());
  });
}
bool DrawAreaImpl::outPNG(const char *filename) {
  return encodeToFile(filename, "PNG", [&](imageio::ByteSink &s) {
    settleSmoothLevels(paletteMode_ != 2);
    return imageio::writePng(s, imageView());
  });
}
bool DrawAreaImpl::outJPG(const char *filename, int quality) {
  return encodeToFile(filename, "JPEG", [&](imageio::ByteSink &s) {
    return imageio::writeJpeg(s, imageView(), quality);
  });
}
bool DrawAreaImpl::outWMP(const char *filename) {
  return encodeToFile(filename, "WBMP",
                      [&](imageio::ByteSink &s) { return imageio::writeWbmp(s, imageView()); });
}

template <typename Encode>
MemBlock DrawAreaImpl::encodeToMemory(const char *format, Encode encode) {
  return reportingFailures(lastError_, MemBlock{0, nullptr}, [&] {
    imageio::MemorySink sink;
    const bool ok = encode(sink, imageView());
    // A memory sink fails only when it cannot grow; the guard must count
    // that like any other allocation that ran out.
    if (sink.failed()) throw std::bad_alloc();
    const MemBlock block = keepMemoryOutput(ok, std::move(sink.bytes()));
    if (block.data == nullptr) explainEncoderFailure(format, ok);
    return block;
  });
}

MemBlock DrawAreaImpl::outGIF2() {
  return encodeToMemory("GIF", [this](imageio::ByteSink &s, const imageio::ImageView &v) {
    settleSmoothLevels(true);
    return imageio::writeGif(s, v);
  });
}
MemBlock DrawAreaImpl::outPNG2() {
  return encodeToMemory("PNG", [this](imageio::ByteSink &s, const imageio::ImageView &v) {
    settleSmoothLevels(paletteMode_ != 2);
    return imageio::writePng(s, v);
  });
}
MemBlock DrawAreaImpl::outJPG2(int quality) {
  return encodeToMemory("JPEG", [quality](imageio::ByteSink &s, const imageio::ImageView &v) {
    return imageio::writeJpeg(s, v, quality);
  });
}
MemBlock DrawAreaImpl::outWMP2() { return encodeToMemory("WBMP", imageio::writeWbmp); }

bool DrawAreaImpl::outGIF2(const char **data, int *len) { return deliver(outGIF2(), data, len); }
bool DrawAreaImpl::outPNG2(const char **data, int *len) { return deliver(outPNG2(), data, len); }
bool DrawAreaImpl::outJPG2(const char **data, int *len, int quality) {
  return deliver(outJPG2(quality), data, len);
}
bool DrawAreaImpl::outWMP2(const char **data, int *len) { return deliver(outWMP2(), data, len); }

}  // namespace quorvane
