#include "app/scene/process_report.h"

#include <utility>

#include "app/scene/scene_report.h"

namespace {

std::u16string FailureText(const ProcessResult& result, Placing placing) {
  const SceneFileResult& scene = result.scene;
  if (scene.system_error != 0) {
    return AccessFailureText(scene.folder_unreadable ? Access::Read : Access::Write, scene.path, scene.system_error,
                             placing);
  }
  if (result.read_error != 0) return AccessFailureText(Access::Read, scene.path, result.read_error, placing);
  return {};
}

}  // namespace

std::vector<ReportRow> ProcessReport(const ProcessResult& result, Placing placing) {
  if (!result.ran) return {};
  if (std::u16string failure = FailureText(result, placing); !failure.empty())
    return {{ReportKind::Failure, std::move(failure)}};
  const SceneFileResult& scene = result.scene;
  const std::u16string& path = scene.path;
  // Only the window cancels a scan: its row is a sentence.
  if (scene.stopped) {
    return {{ReportKind::Cancelled, result.had_scene ? u"Scan cancelled: the previous " + path + u" is kept"
                                                     : u"Scan cancelled: " + path + u" was not written"}};
  }
  std::vector<ReportRow> rows;
  rows.push_back({ReportKind::Written, placing == Placing::Sentence
                                           ? SceneWrittenText(path, scene.images)
                                           : u"wrote " + Counted(scene.images, u"image") + u" to " + path});
  for (const std::u16string& warning : {SceneTableWarning(path, scene.images), UnreadableEntriesText(scene.unreadable),
                                        UnmeasuredImagesText(scene.unmeasured)}) {
    if (!warning.empty())
      rows.push_back({ReportKind::Warning, (placing == Placing::Sentence ? u"Warning: " : u"warning: ") + warning});
  }
  if (std::u16string hint = SkippedNamesHint(scene.skipped_names); !hint.empty())
    rows.push_back({ReportKind::Hint, std::move(hint)});
  return rows;
}

std::vector<std::u16string> ProcessSummaryRows(const ProcessResult& result) {
  std::vector<std::u16string> rows;
  for (ReportRow& row : ProcessReport(result, Placing::Sentence)) rows.push_back(std::move(row.text));
  return rows;
}

std::u16string ProcessFailureText(const ProcessResult& result) { return FailureText(result, Placing::Sentence); }
