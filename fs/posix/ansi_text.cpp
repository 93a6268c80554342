#include "fs/ansi_text.h"

#include "fs/text_encoding.h"

std::string AnsiFromText(std::u16string_view text) { return EscapedBytesFromText(text); }

std::u16string TextFromAnsi(std::string_view bytes) { return TextFromEscapedBytes(bytes); }
