#include "app/cli/cli_render.h"

#include <chrono>
#include <cstdio>

#include "app/cli/terminal_text.h"
#include "app/scene/povray_platform.h"
#include "app/scene/render_report.h"
#include "fs/console.h"
#include "fs/text_encoding.h"

namespace {

void Tell(const std::u16string& text) {
  std::fprintf(stderr, "imagescan-cli: %s\n", ShownText(text, ConsoleIsTerminal(2)).c_str());
}

}  // namespace

CliRender::CliRender(const CliOptions& options) : asked_(options.render), scene_(options.pov_version) {
  if (!asked_) return;
  settings_.program = options.povray.empty() ? std::u16string(kPovRayProgram) : TextFromEscapedBytes(options.povray);
  settings_.width = options.render_width;
  settings_.height = options.render_height;
  version_ = QueryPovRayVersion(settings_.program);
  settings_.include_folder = PovRayIncludeFolder(version_);
  if (!options.pov_version_chosen) scene_ = SceneVersionFor(version_, std::nullopt);
}

int CliRender::Render(const std::u16string& folder, CliProgress& progress, std::string& unfinished) const {
  if (!asked_) return 0;
  if (version_.program_missing) {
    Tell(PovRayMissingText(settings_.program, Placing::AfterProgramName));
    return kRenderFailedStatus;
  }
  if (SceneUnreadableBy(version_, scene_)) {
    Tell(SceneTooNewText(*version_.major, *version_.minor, Placing::AfterProgramName) +
         u" (leave --pov-version out, or give --pov-version=3.7)");
    return kRenderFailedStatus;
  }
  const std::u16string picture = folder + kPictureFileName;
  const std::string shown = ShownText(picture, ConsoleIsTerminal(2));
  progress.SetInterruptNote("imagescan-cli: interrupted; " + shown + " left as it was\n");
  progress.RenderStarted(picture);
  unfinished = shown;
  const auto start = std::chrono::steady_clock::now();
  const RenderResult result = RenderSceneFile(folder, settings_, progress);
  unfinished.clear();
  progress.Finish();
  if (result.outcome == RenderOutcome::Rendered) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "rendered %s (%d x %d) in %.2f s\n", shown.c_str(), settings_.width, settings_.height,
                 seconds);
    return 0;
  }
  for (const std::u16string& line : result.povray_lines) Tell(u"POV-Ray: " + line);
  Tell(RenderFailureText(result, settings_.program, Placing::AfterProgramName));
  return kRenderFailedStatus;
}
