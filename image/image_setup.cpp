#include "image/image_setup.h"

#include "fs/object_table.h"
#include "image/bmp_decoder.h"
#include "image/decoder_registry.h"
#include "image/gif_decoder.h"
#include "image/hdr_decoder.h"
#include "image/image_table.h"
#include "image/jpeg_decoder.h"
#include "image/png_decoder.h"

void ImageLayerInit() {
  InitDecoderRegistry();
  RegisterBmpDecoder();
  InitImageTable();
}

void ImageDecodersInit() {
  RegisterPngDecoder();
  RegisterJpegDecoder();
  RegisterGifDecoder();
  RegisterHdrDecoder();
}

void ImageLayerStart() {
  ImageLayerInit();
  ImageDecodersInit();
}

void ImageLayerStop() {
  ReleaseImage(kAutoNumber);
  ImageTableEnd();
}
