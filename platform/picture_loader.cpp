#include "platform/picture_loader.h"

#include <csetjmp>
#include <cstdio>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/file_io.h"

extern "C" {
#include <jpeglib.h>
}

namespace kavri {

namespace {

// Pictures larger than this are refused before any pixel memory is taken.
constexpr long long kMaxPixels = 64LL * 1024 * 1024;
// The largest file such a picture needs: 32 bits a pixel, with room for headers and a palette.
constexpr uint64_t kMaxPictureFileBytes = kMaxPixels * 4 + (1 << 20);

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

std::string CannotFitText(const char* kind, long long w, long long h, size_t size) {
  return std::string("Bad ") + kind + " picture: " + std::to_string(w) + " x " + std::to_string(h) +
         " pixels cannot fit in " + std::to_string(size) + " bytes";
}

struct TJpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void JpegSilence(j_common_ptr) {}

// A source over a memory buffer; when the data runs out, an end marker is fed so a truncated
// file still ends (libjpeg then fills the rest of the picture grey).
void SrcInit(j_decompress_ptr) {}
boolean SrcFill(j_decompress_ptr cinfo) {
  static const JOCTET kEoi[2] = {0xFF, JPEG_EOI};
  cinfo->src->next_input_byte = kEoi;
  cinfo->src->bytes_in_buffer = 2;
  return TRUE;
}
void SrcSkip(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  while (count > static_cast<long>(src->bytes_in_buffer)) {
    count -= static_cast<long>(src->bytes_in_buffer);
    SrcFill(cinfo);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= static_cast<size_t>(count);
}
void SrcTerm(j_decompress_ptr) {}

// Everything that must survive a jump back out of libjpeg lives here, in memory the decoder
// never touches through registers.
struct TJpegJob {
  jpeg_decompress_struct cinfo;
  TJpegError err;
  jpeg_source_mgr src;
  QImage image;
  std::vector<JSAMPLE> row;
};

bool DecodeJpeg(const uint8_t* data, size_t size, QImage* image, std::string* error) {
  auto job = std::make_unique<TJpegJob>();
  job->cinfo.err = jpeg_std_error(&job->err.mgr);
  job->err.mgr.error_exit = JpegErrorExit;
  job->err.mgr.output_message = JpegSilence;
  if (setjmp(job->err.jump)) {
    jpeg_destroy_decompress(&job->cinfo);
    SetError(error, std::string("Bad JPEG picture: ") + job->err.message);
    return false;
  }
  jpeg_create_decompress(&job->cinfo);
  job->src.init_source = SrcInit;
  job->src.fill_input_buffer = SrcFill;
  job->src.skip_input_data = SrcSkip;
  job->src.resync_to_restart = jpeg_resync_to_restart;
  job->src.term_source = SrcTerm;
  job->src.next_input_byte = data;
  job->src.bytes_in_buffer = size;
  job->cinfo.src = &job->src;

  jpeg_read_header(&job->cinfo, TRUE);
  // Every 8 x 8 block of the fullest component costs at least one bit of coded data, so a file
  // claiming more blocks than it has bits is mostly missing; decoding it would only paint grey.
  const long long w = job->cinfo.image_width, h = job->cinfo.image_height;
  if (((w + 7) / 8) * ((h + 7) / 8) > static_cast<long long>(size) * 8) {
    jpeg_destroy_decompress(&job->cinfo);
    SetError(error, CannotFitText("JPEG", w, h, size));
    return false;
  }
  const bool cmyk = job->cinfo.jpeg_color_space == JCS_CMYK || job->cinfo.jpeg_color_space == JCS_YCCK;
  job->cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  if (static_cast<long long>(job->cinfo.image_width) * job->cinfo.image_height > kMaxPixels) {
    jpeg_destroy_decompress(&job->cinfo);
    SetError(error, "JPEG picture too large");
    return false;
  }
  jpeg_start_decompress(&job->cinfo);
  const int width = static_cast<int>(job->cinfo.output_width);
  const int comps = job->cinfo.output_components;
  job->image = QImage(width, static_cast<int>(job->cinfo.output_height), QImage::Format_RGB32);
  if (job->image.isNull() || (comps != 3 && comps != 4)) {
    jpeg_destroy_decompress(&job->cinfo);
    SetError(error, job->image.isNull() ? "Not enough memory for the JPEG picture" : "Unsupported JPEG colour format");
    return false;
  }
  job->row.resize(static_cast<size_t>(width) * comps);
  // Adobe's CMYK JPEGs store the inks inverted.
  const bool inverted = cmyk && job->cinfo.saw_Adobe_marker;
  while (job->cinfo.output_scanline < job->cinfo.output_height) {
    const int y = static_cast<int>(job->cinfo.output_scanline);
    JSAMPROW rows[1] = {job->row.data()};
    jpeg_read_scanlines(&job->cinfo, rows, 1);
    auto* out = reinterpret_cast<QRgb*>(job->image.scanLine(y));
    const JSAMPLE* in = job->row.data();
    for (int x = 0; x < width; ++x, in += comps) {
      if (comps == 3) {
        out[x] = qRgb(in[0], in[1], in[2]);
      } else {
        int c = in[0], m = in[1], yy = in[2], k = in[3];
        if (!inverted) c = 255 - c, m = 255 - m, yy = 255 - yy, k = 255 - k;
        out[x] = qRgb(c * k / 255, m * k / 255, yy * k / 255);
      }
    }
  }
  jpeg_finish_decompress(&job->cinfo);
  jpeg_destroy_decompress(&job->cinfo);
  *image = std::move(job->image);
  return true;
}

uint32_t Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

// Refuses a bitmap whose header claims more pixels than the loader takes, or (uncompressed) more
// rows than the file holds. Run-length coded bitmaps may leave pixels out, so only their size is
// bounded. Headers this does not know are left to the decoder.
bool BmpSizeFits(const uint8_t* data, size_t size, std::string* error) {
  if (size < 26) return true;
  const uint32_t offset = Le32(data + 10);
  const uint32_t infoSize = Le32(data + 14);
  long long w = 0, h = 0;
  uint32_t bits = 0, compression = 0;
  if (infoSize == 12) {
    w = Le16(data + 18);
    h = Le16(data + 20);
    bits = Le16(data + 24);
  } else if (infoSize >= 40 && size >= 34) {
    w = static_cast<int32_t>(Le32(data + 18));
    h = static_cast<int32_t>(Le32(data + 22));  // negative for top-down rows
    bits = Le16(data + 28);
    compression = Le32(data + 30);
  } else {
    return true;
  }
  if (h < 0) h = -h;
  if (w <= 0 || h <= 0) return true;
  if (w * h > kMaxPixels) {
    SetError(error, "BMP picture too large");
    return false;
  }
  const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
  const long long needed = static_cast<long long>(offset) + (w * bits + 31) / 32 * 4 * h;
  if (uncompressed && needed > static_cast<long long>(size)) {
    SetError(error, CannotFitText("BMP", w, h, size));
    return false;
  }
  return true;
}

}  // namespace

bool DecodePicture(const uint8_t* data, size_t size, QImage* image, std::string* error) {
  *image = QImage();
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
    if (!BmpSizeFits(data, size, error)) return false;
    QImage bmp;
    if (!bmp.loadFromData(data, static_cast<int>(std::min<size_t>(size, INT32_MAX)), "BMP") || bmp.isNull()) {
      SetError(error, "Bad BMP picture");
      return false;
    }
    *image = std::move(bmp);
    return true;
  }
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return DecodeJpeg(data, size, image, error);
  SetError(error, "Not a BMP or JPEG picture");
  return false;
}

bool LoadPicture(const std::string& path, QImage* image, std::string* error) {
  *image = QImage();
  const std::optional<Bytes> bytes = ReadWholeFile(path, kMaxPictureFileBytes, error);
  if (!bytes) return false;
  return DecodePicture(bytes->data(), bytes->size(), image, error);
}

}  // namespace kavri
