#include "canvas/image_stores.h"

#include <cstring>

namespace quorl {

void SourceStore::Clear() {
  Bitmap = Picture24();
  SourceWidth = -2;
  SourceHeight = -1;
  SourceRows.clear();
}

void SourceStore::SetPicture(const Picture24& picture) {
  if (picture.Empty()) {
    Clear();
    return;
  }
  const int width = picture.Width();
  const int height = picture.Height();
  Picture24 bitmap(width + 1, height);
  bitmap.DrawAtOrigin(picture);
  for (int y = 0; y < height; ++y)
    std::memcpy(bitmap.Row(y) + 3 * static_cast<std::size_t>(width), bitmap.Row(y), 3);
  std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(height) + 1);

  Bitmap = std::move(bitmap);
  SourceWidth = width;
  SourceHeight = height;
  for (int i = 0; i <= height; ++i) rows[i] = Bitmap.Row(height - 1 - i % height);
  SourceRows.swap(rows);
}

void BackgroundStore::Clear() {
  Bitmap = Picture24();
  BackgroundWidth = -2;
  BackgroundHeight = -1;
  BackgroundRows.clear();
}

void BackgroundStore::SetPicture(const Picture24& picture) {
  if (picture.Empty()) {
    Clear();
    return;
  }
  Picture24 bitmap = picture;
  const int height = bitmap.Height();
  std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(height));

  Bitmap = std::move(bitmap);
  BackgroundWidth = Bitmap.Width();
  BackgroundHeight = height;
  for (int i = 0; i < height; ++i) rows[i] = Bitmap.Row(height - 1 - i);
  BackgroundRows.swap(rows);
}

}  // namespace quorl
