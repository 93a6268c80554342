#pragma once
// The image layer's start and end. The start comes in two steps, so that a program can
// start other layers between them; data is offered to the icon reader, then to the
// decoders in the order they are registered: BMP, PNG, JPEG, GIF, and last the Radiance
// descriptor, which sizes HDR headers for quick mode but loads nothing.
//
// The first step: the registry (the icon reader) with the BMP decoder, and the image table.
void ImageLayerInit();
// The second step: the PNG, JPEG, GIF and Radiance descriptors, after BMP.
void ImageDecodersInit();
// Both steps at once, for programs that need nothing in between.
void ImageLayerStart();
// Releases every image and the table.
void ImageLayerStop();
