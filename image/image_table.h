#pragma once
// Numbered images: the image table and the questions asked of an image.
#include <cstdint>
#include <optional>
#include <vector>

#include "fs/object_table.h"
#include "image/bitmap.h"
#include "image/icon_decoder.h"

struct ImageFrame {
  std::optional<Bitmap> bitmap;  // a frame after the first may have none (it failed)
  int32_t delay = 0;             // milliseconds
};
using FrameList = std::vector<ImageFrame>;

struct ImageRecord {
  FrameList frames;          // decoded images: entry 0's bitmap is the image itself
  std::optional<Icon> icon;  // icon files: instead of frames
  int32_t width = 0;
  int32_t height = 0;
  int depth = 0;         // bits per pixel of the stored bitmap (the icon's for icons)
  int source_depth = 0;  // bits per pixel of the file
  uint32_t format_id = 0;
  int32_t frame_count = 0;

  bool InUse() const { return icon.has_value() || (!frames.empty() && frames[0].bitmap); }
};

// Creates the (empty) image table; an existing one is ended first.
void InitImageTable();
// Releases every image and the table itself.
void ImageTableEnd();
// The table, for the loader; null before InitImageTable.
ObjectTable<ImageRecord>* ImageTable();

// Releases one image; -1 releases every image. A number without an image is left alone.
void ReleaseImage(int64_t number);
// Width and height of the image; 0 for a number without an image.
int64_t ImagePixelWidth(int64_t number);
int64_t ImagePixelHeight(int64_t number);
// The image held under a number or id, null when there is none.
const ImageRecord* ImageFind(int64_t number);
