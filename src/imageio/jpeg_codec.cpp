// JPEG through libjpeg. The writer feeds RGB rows (the transparency byte is
// dropped) through a destination manager with an 8192-byte buffer, at the
// given quality with baseline tables, progressive when the view is
// interlaced. The reader asks for RGB output and reports whether the file was
// progressive. A progressive file of more than 500 scans is refused: each
// scan costs a pass over the whole image, so a small file could otherwise
// cost minutes. libjpeg reports errors through error_exit, which jumps back
// to a setjmp in a function that holds no C++ objects with destructors; its
// messages are swallowed.
#include <cstdio>  // jpeglib.h needs FILE and size_t first

#include <jerror.h>
#include <jpeglib.h>

#include <memory>
#include <csetjmp>
#include <vector>

#include "imageio/codecs.h"

namespace quorvane::imageio {

namespace {

static_assert(kJpegMaxSide == JPEG_MAX_DIMENSION);

constexpr int kMaxScans = 500;
constexpr size_t kDestinationBytes = 8192;
constexpr size_t kSourceBytes = 4096;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void onJpegError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}
void onJpegMessage(j_common_ptr) {}

void useErrorManager(ErrorManager &err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = onJpegError;
  err.pub.output_message = onJpegMessage;
}

struct Destination {
  jpeg_destination_mgr pub;
  ByteSink *sink;
  JOCTET buffer[kDestinationBytes];
};

void initDestination(j_compress_ptr cinfo) {
  auto *d = reinterpret_cast<Destination *>(cinfo->dest);
  d->pub.next_output_byte = d->buffer;
  d->pub.free_in_buffer = kDestinationBytes;
}

boolean emptyDestination(j_compress_ptr cinfo) {
  auto *d = reinterpret_cast<Destination *>(cinfo->dest);
  d->sink->write(d->buffer, kDestinationBytes);
  if (d->sink->failed()) ERREXIT(cinfo, JERR_FILE_WRITE);
  initDestination(cinfo);
  return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
  auto *d = reinterpret_cast<Destination *>(cinfo->dest);
  d->sink->write(d->buffer, kDestinationBytes - d->pub.free_in_buffer);
  d->sink->flush();
  if (d->sink->failed()) ERREXIT(cinfo, JERR_FILE_WRITE);
}

struct Source {
  jpeg_source_mgr pub;
  ByteSource *source;
  bool started;
  JOCTET buffer[kSourceBytes];
};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

// At the end of the data a fake end-of-image marker is supplied with a
// warning, so a cut file decodes what it has.
boolean fillSource(j_decompress_ptr cinfo) {
  auto *s = reinterpret_cast<Source *>(cinfo->src);
  size_t n = s->source->read(s->buffer, kSourceBytes);
  if (n == 0) {
    if (!s->started) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    s->buffer[0] = 0xFF;
    s->buffer[1] = JPEG_EOI;
    n = 2;
  }
  s->started = true;
  s->pub.next_input_byte = s->buffer;
  s->pub.bytes_in_buffer = n;
  return TRUE;
}

void skipSource(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  auto *s = reinterpret_cast<Source *>(cinfo->src);
  auto left = static_cast<size_t>(count);
  while (left > s->pub.bytes_in_buffer) {
    left -= s->pub.bytes_in_buffer;
    fillSource(cinfo);
  }
  s->pub.next_input_byte += left;
  s->pub.bytes_in_buffer -= left;
}

void limitScans(j_common_ptr cinfo) {
  if (cinfo->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

struct CompressGuard {
  jpeg_compress_struct cinfo{};
  ~CompressGuard() { jpeg_destroy_compress(&cinfo); }
};

struct DecompressGuard {
  jpeg_decompress_struct cinfo{};
  ~DecompressGuard() { jpeg_destroy_decompress(&cinfo); }
};

bool compress(jpeg_compress_struct *cinfo, ErrorManager *err, Destination *dest,
              const ImageView *view, int quality, JSAMPLE *row) {
  if (setjmp(err->jump)) return false;
  jpeg_create_compress(cinfo);
  dest->pub.init_destination = initDestination;
  dest->pub.empty_output_buffer = emptyDestination;
  dest->pub.term_destination = termDestination;
  cinfo->dest = &dest->pub;
  cinfo->image_width = static_cast<JDIMENSION>(view->width);
  cinfo->image_height = static_cast<JDIMENSION>(view->height);
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_RGB;
  jpeg_set_defaults(cinfo);
  if (quality >= 0) jpeg_set_quality(cinfo, quality, TRUE);
  if (view->interlace) jpeg_simple_progression(cinfo);
  jpeg_start_compress(cinfo, TRUE);
  const size_t w = static_cast<size_t>(view->width);
  for (size_t y = 0; y < static_cast<size_t>(view->height); ++y) {
    const uint32_t *px = view->pixels + y * w;
    for (size_t x = 0; x < w; ++x) {
      row[x * 3] = static_cast<JSAMPLE>(px[x] >> 16);
      row[x * 3 + 1] = static_cast<JSAMPLE>(px[x] >> 8);
      row[x * 3 + 2] = static_cast<JSAMPLE>(px[x]);
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(cinfo, rows, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

// Reads the header and starts decompression to RGB; false for a library
// error, an image outside the limits, or output that is not 3 samples a pixel.
bool startDecompress(jpeg_decompress_struct *cinfo, ErrorManager *err, Source *src,
                     jpeg_progress_mgr *progress, const DecodeLimits *limits) {
  if (setjmp(err->jump)) return false;
  jpeg_create_decompress(cinfo);
  src->pub.init_source = initSource;
  src->pub.fill_input_buffer = fillSource;
  src->pub.skip_input_data = skipSource;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = termSource;
  src->pub.bytes_in_buffer = 0;
  src->pub.next_input_byte = nullptr;
  cinfo->src = &src->pub;
  progress->progress_monitor = limitScans;
  cinfo->progress = progress;
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
  if (!sizeAllowed(cinfo->image_width, cinfo->image_height, *limits)) return false;
  cinfo->out_color_space = JCS_RGB;
  jpeg_start_decompress(cinfo);
  return cinfo->output_components == 3 &&
         sizeAllowed(cinfo->output_width, cinfo->output_height, *limits);
}

bool readScanlines(jpeg_decompress_struct *cinfo, ErrorManager *err, JSAMPLE *row,
                   uint32_t *pixels) {
  if (setjmp(err->jump)) return false;
  const size_t w = cinfo->output_width;
  while (cinfo->output_scanline < cinfo->output_height) {
    uint32_t *px = pixels + static_cast<size_t>(cinfo->output_scanline) * w;
    JSAMPROW rows[1] = {row};
    if (jpeg_read_scanlines(cinfo, rows, 1) != 1) return false;
    for (size_t x = 0; x < w; ++x)
      px[x] = static_cast<uint32_t>(row[x * 3]) << 16 | static_cast<uint32_t>(row[x * 3 + 1]) << 8 |
              row[x * 3 + 2];
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

bool writeJpeg(ByteSink &sink, const ImageView &view, int quality) {
  std::vector<JSAMPLE> row(static_cast<size_t>(view.width) * 3);
  auto dest = std::make_unique<Destination>();
  dest->sink = &sink;
  ErrorManager err;
  CompressGuard guard;
  useErrorManager(err);
  guard.cinfo.err = &err.pub;
  return compress(&guard.cinfo, &err, dest.get(), &view, quality, row.data()) && !sink.failed();
}

bool readJpeg(ByteSource &source, DecodedImage &out, const DecodeLimits &limits) {
  auto src = std::make_unique<Source>();
  src->source = &source;
  src->started = false;
  jpeg_progress_mgr progress{};
  ErrorManager err;
  DecompressGuard guard;
  useErrorManager(err);
  guard.cinfo.err = &err.pub;
  if (!startDecompress(&guard.cinfo, &err, src.get(), &progress, &limits)) return false;
  const size_t w = guard.cinfo.output_width, h = guard.cinfo.output_height;
  std::vector<JSAMPLE> row(w * 3);
  std::vector<uint32_t> pixels(w * h);
  if (!readScanlines(&guard.cinfo, &err, row.data(), pixels.data())) return false;
  out.width = static_cast<int>(w);
  out.height = static_cast<int>(h);
  out.pixels = std::move(pixels);
  out.progressive = guard.cinfo.progressive_mode != 0;
  return true;
}

}  // namespace quorvane::imageio
