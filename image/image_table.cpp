#include "image/image_table.h"

#include <memory>

namespace {

std::unique_ptr<ObjectTable<ImageRecord>> g_images;

void ReleaseRecord(ImageRecord& record) {
  record.frames.clear();
  record.icon.reset();
}

}  // namespace

void InitImageTable() {
  g_images.reset();
  g_images = std::make_unique<ObjectTable<ImageRecord>>(16, ReleaseRecord);
}

void ImageTableEnd() { g_images.reset(); }

ObjectTable<ImageRecord>* ImageTable() { return g_images.get(); }

void ReleaseImage(int64_t number) {
  if (!g_images) return;
  if (number == kAutoNumber) {
    g_images->ReleaseAll();
  } else if (g_images->Find(number)) {
    g_images->Release(number);
  }
}

const ImageRecord* ImageFind(int64_t number) { return g_images ? g_images->Find(number) : nullptr; }

int64_t ImagePixelWidth(int64_t number) {
  const ImageRecord* image = ImageFind(number);
  return image ? image->width : 0;
}

int64_t ImagePixelHeight(int64_t number) {
  const ImageRecord* image = ImageFind(number);
  return image ? image->height : 0;
}
