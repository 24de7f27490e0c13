// Writing a 24-bit picture as a JPEG file (libjpeg-turbo).
#pragma once

#include <string>

#include "base/picture24.h"

namespace quorl {

struct JpegWriteOptions {
  int quality = 90;  // 1 ... 100
  int dpi = 0;       // kept in the JFIF header; 0 writes none
};

// Encodes `picture` into `out`. On failure returns false with the reason.
bool EncodeJpeg(const Picture24& picture, const JpegWriteOptions& options, std::string& out,
                std::string* error = nullptr);

}  // namespace quorl
