#pragma once
// Texts that tell the user what a scene file run did; the window and the batch program
// say the same things in the same words.
#include <cstdint>
#include <string>

#include "app/scene/skipped_names.h"

// "N nouns" ("1 noun" for one).
std::u16string Counted(int64_t count, const std::u16string& noun);
// "N images written to PATH" ("1 image" for one).
std::u16string SceneWrittenText(const std::u16string& path, int64_t images);
// "PATH lists N images; the scene's table holds 2000 rows" when the scene lists more
// images than its table holds, else empty.
std::u16string SceneTableWarning(const std::u16string& path, int64_t images);
// "N folders or files could not be read and were left out" ("1 folder or file ... was"),
// else empty.
std::u16string UnreadableEntriesText(int64_t unreadable);
// "N images could not be read and are listed as 1 x 1" ("1 image ... is"), else empty.
std::u16string UnmeasuredImagesText(int64_t unmeasured);
// "N files skipped (A, B and N-2 more): only names ending in png, jpg, gif or hdr (lower
// case) are scanned" ("1 file skipped (A)", "2 files skipped (A and B)"), else empty.
std::u16string SkippedNamesHint(const SkippedNames& skipped);
