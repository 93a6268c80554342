#pragma once
// Which versions of the decoding libraries measure the images: a size measured by other
// versions may differ, so whatever keeps sizes keeps this with them.
#include <string>

// "libpng 1.6.39, libjpeg-turbo 2001005 (jpeg 62), giflib 5.2.1, zlib 1.2.13, libdeflate
// 1.14": the versions measuring.
std::string DecoderLibraryVersions();
