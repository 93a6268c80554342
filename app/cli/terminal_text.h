#pragma once
// Names as a terminal shows them.
#include <string>

// The text's bytes, with every control character and every byte that is not part of
// valid UTF-8 written as an escape (\x1B, \u009B, \xE9), so that no file name can move
// the cursor, change colours or retitle the window it is shown in.
std::string TerminalText(const std::u16string& text);

// The exact bytes of the text, or TerminalText where it goes to a terminal.
std::string ShownText(const std::u16string& text, bool terminal);
