// The image-file operations of DrawArea: format choice by file name, the
// pattern made from an image file, and the readers and writers. Until the
// codecs exist the readers refuse every file and the writers produce nothing.
#include <cctype>
#include <cstring>

#include "drawing/draw_area_impl.h"

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

}  // namespace

bool DrawAreaImpl::loadGIF(const char *) { return false; }
bool DrawAreaImpl::loadPNG(const char *) { return false; }
bool DrawAreaImpl::loadJPG(const char *) { return false; }
bool DrawAreaImpl::loadWMP(const char *) { return false; }

bool DrawAreaImpl::load(const char *filename) {
  if (filename == nullptr) return false;
  if (endsWith(filename, ".jpg") || endsWith(filename, ".jpeg")) return loadJPG(filename);
  if (endsWith(filename, ".png")) return loadPNG(filename);
  if (endsWith(filename, ".wbmp") || endsWith(filename, ".wmp")) return loadWMP(filename);
  return loadGIF(filename);  // ".gif" and every other name
}

int DrawAreaImpl::patternColor2(const char *filename, int startX, int startY) {
  // A file that cannot be read gives a 1 x 1 white pattern.
  DrawAreaImpl image;
  image.load(filename);
  return patternColor(reinterpret_cast<const int *>(image.pixelData()), image.width(),
                      image.height(), startX, startY);
}

bool DrawAreaImpl::out(const char *) { return false; }
MemBlock DrawAreaImpl::outGIF2() { return MemBlock{0, nullptr}; }
bool DrawAreaImpl::outGIF2(const char **, int *) { return false; }
bool DrawAreaImpl::outGIF(const char *) { return false; }
MemBlock DrawAreaImpl::outPNG2() { return MemBlock{0, nullptr}; }
bool DrawAreaImpl::outPNG2(const char **, int *) { return false; }
bool DrawAreaImpl::outPNG(const char *) { return false; }
MemBlock DrawAreaImpl::outJPG2(int) { return MemBlock{0, nullptr}; }
bool DrawAreaImpl::outJPG2(const char **, int *, int) { return false; }
bool DrawAreaImpl::outJPG(const char *, int) { return false; }
MemBlock DrawAreaImpl::outWMP2() { return MemBlock{0, nullptr}; }
bool DrawAreaImpl::outWMP2(const char **, int *) { return false; }
bool DrawAreaImpl::outWMP(const char *) { return false; }

}  // namespace quorvane
