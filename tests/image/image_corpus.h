#pragma once
// One small file of every kind the loader knows, made with the real encoders or as
// explicit bytes: the inputs that damaged-input and differential tests start from.
#include <functional>
#include <string>
#include <vector>

#include "support/test_images.h"

// Bytes that encoders do not compress away.
Bytes Pattern(size_t count, unsigned seed);
std::vector<Bytes> ImageCorpus();
// Hands check the file cut short at lengths spread over it, then with each header byte
// and bytes spread over the rest flipped in three ways, each with a word of what was done.
void ForEachCutAndFlip(const Bytes& file, const std::function<void(const Bytes&, const std::string&)>& check);
