#pragma once
// The image layer's start and end. The start comes in two steps, so that a program can
// start other layers between them; the decoders are tried in the order they are
// registered: BMP, PNG, JPEG, GIF.
//
// The first step: the registry with the BMP decoder, and the image table.
void ImageLayerInit();
// The second step: the PNG, JPEG and GIF decoders, after BMP.
void ImageDecodersInit();
// Both steps at once, for programs that need nothing in between.
void ImageLayerStart();
// Releases every image and the table.
void ImageLayerStop();
