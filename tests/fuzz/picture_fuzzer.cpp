// Feeds arbitrary bytes to the PNG, JPEG and BMP decoders; the first byte
// picks the decoder so one corpus covers all three.
#include <cstddef>
#include <cstdint>
#include <string>

#include "canvas/picture_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  quorl::Picture24 picture;
  std::string error;
  switch (data[0] % 3) {
    case 0:
      quorl::DecodePng(data + 1, size - 1, picture, error);
      break;
    case 1:
      quorl::DecodeJpeg(data + 1, size - 1, picture, error);
      break;
    default:
      quorl::DecodeBmp(data + 1, size - 1, picture, error);
      break;
  }
  return 0;
}
