#pragma once
// imagescan-cli's render step (--render): asks POV-Ray which version it is before any
// scene is written, so that the scene written is one it reads, and renders each scene
// once it is written, telling on standard error why a render gave no picture.
#include <string>

#include "app/cli/cli_options.h"
#include "app/cli/cli_progress.h"
#include "app/scene/povray_version.h"
#include "app/scene/scene_format.h"
#include "app/scene/scene_render.h"

// The exit status of a scene written but not rendered.
inline constexpr int kRenderFailedStatus = 4;

class CliRender {
 public:
  // Asks POV-Ray its version when the options ask for a render; else does nothing.
  explicit CliRender(const CliOptions& options);
  // The scene to write: the one chosen, else the one the POV-Ray found reads.
  PovVersion SceneVersion() const { return scene_; }
  // Renders <folder>image_scan.pov (`folder` ends in a separator) with `progress` shown;
  // 0 when the picture was made or no render was asked for, else kRenderFailedStatus.
  // `unfinished` names the picture while it is being made.
  int Render(const std::u16string& folder, CliProgress& progress, std::string& unfinished) const;

 private:
  bool asked_ = false;
  PovVersion scene_ = PovVersion::Pov38;
  PovRayVersion version_;
  RenderSettings settings_;
};
