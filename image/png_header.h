#pragma once
// The start of every PNG stream: the signature, then the IHDR chunk, which must come
// first. Read alike for a PNG file and for the PNG-compressed image of an icon.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The signature and the whole IHDR chunk: its length, type, 13 bytes of fields and CRC.
inline constexpr size_t kPngHeaderBytes = 33;

// Whether the bytes start with the PNG signature.
bool PngSignatureAt(std::span<const uint8_t> head);

// The IHDR chunk's fields as they stand: each reader decides which it takes.
struct PngHeader {
  uint32_t width = 0;
  uint32_t height = 0;
  int bit_depth = 0;
  int colour_type = 0;
  int compression = 0;
  int filter = 0;
  int interlace = 0;
  bool crc_matches = false;  // the chunk's CRC is that of its type and fields
};

// The header, where the first kPngHeaderBytes bytes are the signature and an IHDR chunk
// of 13 bytes; none otherwise.
std::optional<PngHeader> ReadPngHeader(std::span<const uint8_t> head);
