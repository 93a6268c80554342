#pragma once
// The words that tell a user a file or folder could not be read or written, and why.
#include <string>

enum class Access { Read, Write };

// Where the words stand: a sentence of their own (a message box, a row of the image
// list), or after a program's name ("imagescan-cli: cannot read ..."), in lower case.
enum class Placing { Sentence, AfterProgramName };

// "Cannot read PATH: reason" or "Cannot write PATH: reason", the reason in the system's
// words.
std::u16string AccessFailureText(Access access, const std::u16string& path, int system_error,
                                 Placing placing = Placing::Sentence);
