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

// The same picture for POV-Ray 3.7.0, which cannot read the standard blocks: same shape
// (the header ends with CR LF CR LF, the footer starts with CR LF and has no line end).
extern const std::string_view kSceneHeader37;
extern const std::string_view kSceneFooter37;

// The POV-Ray version a scene is written for. Pov38 is the standard scene, which the
// window always writes; POV-Ray 3.8 reads it.
enum class PovVersion { Pov38, Pov37 };

struct SceneBlocks {
  std::string_view header;
  std::string_view footer;
};

SceneBlocks SceneBlocksFor(PovVersion version);

// add_image ( "<relative path>", <width>, <height> )  with one trailing blank, no line end.
// In the path, a double quote, a backslash, LF and CR are written as POV-Ray's escapes
// \" \\ \n \r, so that the string always parses; every other character is as given.
std::u16string AddImageLine(const std::u16string& relative_path, int64_t width, int64_t height);
