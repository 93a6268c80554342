#pragma once
// The image layer's start and end for programs that need nothing in between: the
// registry, the decoders in their order of trial (BMP, PNG, JPEG, GIF) and the table.
void ImageLayerStart();
// Releases every image and the table.
void ImageLayerStop();
