#pragma once
// Which versions of the decoding libraries measure the images: a size measured by other
// versions may differ, so whatever keeps sizes keeps this with them.
#include <string>

// "libpng 1.6.39, libjpeg-turbo 2.1.5, giflib 5.2.1, zlib 1.2.13": the versions running.
std::string DecoderLibraryVersions();
