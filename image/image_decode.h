#pragma once
// Decoding bytes into an image record outside the image table.
#include <cstdint>
#include <optional>
#include <span>

#include "image/image_table.h"

// The record DecodeImageMemory would store for the data, or nothing where it fails
// (including when memory runs out). Touches no shared state.
std::optional<ImageRecord> DecodeImageRecord(std::span<const uint8_t> data);

struct DecodeContext;
// Decodes every frame of the data a decoder accepted into a bitmap of its own, as the
// loader keeps them; nothing where frame 0 fails.
std::optional<ImageRecord> DecodeAllFrames(DecodeContext& context);
