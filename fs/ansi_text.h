#pragma once
// Text in the system's narrow code page (TextFormat::Ansi). On Linux that is UTF-8 with
// stray bytes carried as U+DC80 + byte (see text_encoding.h), so a name's exact bytes
// survive. On Windows it is the ANSI code page: a character the code page lacks becomes
// the code page's best fit or default character.
#include <string>
#include <string_view>

std::string AnsiFromText(std::u16string_view text);
std::u16string TextFromAnsi(std::string_view bytes);
