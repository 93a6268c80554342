#pragma once
// Codes of the text encodings used by files and by TextFromBytes. A code 0 in a file
// operation stands for the file's own default; every other code behaves as Ansi.
// On Linux, Ansi is UTF-8 carrying stray bytes as U+DC80 + byte (see text_encoding.h).
namespace TextFormat {
inline constexpr int Utf8 = 2;
inline constexpr int Ansi = 24;
inline constexpr int Utf16 = 25;  // little-endian code units
// The bits of a format argument that hold the code; higher bits carry flags.
inline constexpr int kCodeMask = 0x1F;
}  // namespace TextFormat
