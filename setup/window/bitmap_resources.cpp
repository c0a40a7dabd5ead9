// Looking up the pictures that the build embeds (pictures/bitmap_<id>.bmp).
#include "setup/window/bitmap_resources.h"

#include "setup/window/embedded_bitmaps.h"

namespace vandrel::setup::window {

std::span<const std::uint8_t> bitmapResource(int id) {
  for (const EmbeddedBitmap& bitmap : kEmbeddedBitmaps) {
    if (bitmap.id == id) return bitmap.bytes;
  }
  return {};
}

DibImage LoadBitmapResource() {
  DibImage image;
  std::span<const std::uint8_t> bytes = bitmapResource(bitmap_id::Picture);
  if (!bytes.empty()) image.read(bytes.data(), bytes.size());
  return image;
}

}  // namespace vandrel::setup::window
