#include "app/scene/scene_report.h"

#include "app/scene/scanned_names.h"
#include "app/scene/scene_limits.h"
#include "fs/text.h"

std::u16string Counted(int64_t count, const std::u16string& noun) {
  return DecimalText(count) + u" " + noun + (count == 1 ? u"" : u"s");
}

std::u16string SceneWrittenText(const std::u16string& path, int64_t images) {
  return Counted(images, u"image") + u" written to " + path;
}

std::u16string SceneTableWarning(const std::u16string& path, int64_t images) {
  if (images <= kSceneImageRows) return {};
  return path + u" lists " + Counted(images, u"image") + u"; the scene's table holds " + DecimalText(kSceneImageRows) +
         u" rows";
}

std::u16string UnreadableEntriesText(int64_t unreadable) {
  if (unreadable == 0) return {};
  return DecimalText(unreadable) + (unreadable == 1 ? u" folder or file" : u" folders or files") +
         u" could not be read and " + (unreadable == 1 ? u"was" : u"were") + u" left out";
}

std::u16string UnmeasuredImagesText(int64_t unmeasured) {
  if (unmeasured == 0) return {};
  return Counted(unmeasured, u"image") + u" could not be read and " + (unmeasured == 1 ? u"is" : u"are") +
         u" listed as 1 x 1";
}

std::u16string SkippedNamesHint(const SkippedNames& skipped) {
  if (skipped.count == 0) return {};
  const std::vector<std::u16string>& names = skipped.named;
  const auto more = skipped.count - static_cast<int64_t>(names.size());
  std::u16string named;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) named += more == 0 && i + 1 == names.size() ? u" and " : u", ";
    named += names[i];
  }
  if (!named.empty() && more > 0) named += u" and " + DecimalText(more) + u" more";
  return Counted(skipped.count, u"file") + u" skipped" + (named.empty() ? u"" : u" (" + named + u")") +
         u": only names ending in " + ScannedExtensionsText() + u" (lower case) are scanned";
}
