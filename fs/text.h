#pragma once
// Strings are UTF-16 code units; a null string and the empty string are one value.
#include <cstdint>
#include <string>

int64_t TextLength(const std::u16string& text);
// The last n code units; n below 0 gives the empty string, n beyond the length the whole.
std::u16string TextTail(const std::u16string& text, int64_t n);
std::u16string DecimalText(int64_t value);
// 1 when both hold the same code units, else 0. No case folding.
int TextEquals(const std::u16string& a, const std::u16string& b);
