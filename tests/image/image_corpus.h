#pragma once
// One small file of every kind the loader knows, made with the real encoders or as
// explicit bytes: the inputs that damaged-input and differential tests start from.
#include <vector>

#include "support/test_images.h"

// Bytes that encoders do not compress away.
Bytes Pattern(size_t count, unsigned seed);
std::vector<Bytes> ImageCorpus();
