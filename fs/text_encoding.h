#pragma once
// Conversions between UTF-16 strings and byte encodings.
//
// File names and Ansi text are UTF-8 in which every byte that is not part of valid UTF-8
// travels as the lone surrogate U+DC80 + byte, so any name round-trips byte for byte.
// Strict UTF-8 writes a lone surrogate as U+FFFD and reads a bad byte as U+FFFD.
#include <string>
#include <string_view>

// Bytes with the escape: U+DC80..U+DCFF go back to their byte; other lone surrogates
// become "?" (the narrow code page's default character).
std::string EscapedBytesFromText(std::u16string_view text);
// Whether text[i] is such an escaped byte: U+DC80..U+DCFF, not the second half of a pair.
bool TextHasEscapedByteAt(std::u16string_view text, size_t i);
std::u16string TextFromEscapedBytes(std::string_view bytes);

std::string Utf8FromText(std::u16string_view text);
std::u16string TextFromUtf8(std::string_view bytes);
