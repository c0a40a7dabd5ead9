// Looking up the pictures and icons that the build embeds (pictures/bitmap_<id>.bmp,
// pictures/icon_<id>.bmp).
#include "paint/bitmap_resources.h"

#include "paint/embedded_bitmaps.h"

namespace vandrel::paint {

namespace {

std::span<const std::uint8_t> find(std::span<const EmbeddedBitmap> all, int id) {
  for (const EmbeddedBitmap& bitmap : all) {
    if (bitmap.id == id) return bitmap.bytes;
  }
  return {};
}

}  // namespace

std::span<const std::uint8_t> bitmapResource(int id) { return find(kEmbeddedBitmaps, id); }

std::span<const std::uint8_t> iconResource(int id) { return find(kEmbeddedIcons, id); }

DibImage LoadBitmapResource() {
  DibImage image;
  std::span<const std::uint8_t> bytes = bitmapResource(bitmap_id::Picture);
  if (!bytes.empty()) image.read(bytes.data(), bytes.size());
  return image;
}

}  // namespace vandrel::paint
