#include "canvas/jpeg_writer.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace quorl {
namespace {

struct JpegWriteErrors {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegWriteErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

void OnJpegMessage(j_common_ptr) {}

// Everything between setjmp and the end; the caller owns every buffer, so
// the jump skips no destructor.
bool WriteJpegRows(jpeg_compress_struct& cinfo, JpegWriteErrors& errors, const Picture24& picture,
                   const JpegWriteOptions& options, unsigned char** buffer, unsigned long* size) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, buffer, size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.Width());
  cinfo.image_height = static_cast<JDIMENSION>(picture.Height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;  // our byte order
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, options.quality, TRUE);
  if (options.dpi > 0) {
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = 1;  // dots per inch
    cinfo.X_density = static_cast<UINT16>(options.dpi);
    cinfo.Y_density = static_cast<UINT16>(options.dpi);
  }
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(picture.Row(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

}  // namespace

bool EncodeJpeg(const Picture24& picture, const JpegWriteOptions& options, std::string& out,
                std::string* error) {
  if (picture.Empty()) {
    if (error) *error = "the picture has no pixels";
    return false;
  }
  if (options.quality < 1 || options.quality > 100 || options.dpi < 0 || options.dpi > 65535) {
    if (error) *error = "the JPEG quality must be 1 to 100 and its resolution 0 to 65535 dots per inch";
    return false;
  }
  jpeg_compress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  JpegWriteErrors errors;
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnJpegError;
  errors.base.output_message = OnJpegMessage;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const bool ok = WriteJpegRows(cinfo, errors, picture, options, &buffer, &size);
  jpeg_destroy_compress(&cinfo);
  if (ok) out.assign(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  if (!ok && error) *error = errors.message;
  return ok;
}

}  // namespace quorl
