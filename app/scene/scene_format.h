#pragma once
// The bytes of the scene file image_scan.pov: header, one add_image line per image, footer.
// Each piece is written as one line, so the file ends up as
//   header CR LF, add_image lines (each CR LF), footer CR LF.
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr char16_t kSceneFileName[] = u"image_scan.pov";

// 7-bit ASCII. The header ends with CR LF CR LF; the footer starts with CR LF and has no
// line end of its own.
extern const std::string_view kSceneHeader;
extern const std::string_view kSceneFooter;

// add_image ( "<relative path>", <width>, <height> )  with one trailing blank, no line end.
// In the path, a double quote, a backslash, LF and CR are written as POV-Ray's escapes
// \" \\ \n \r, so that the string always parses; every other character is as given.
std::u16string AddImageLine(const std::u16string& relative_path, int64_t width, int64_t height);
