#pragma once
// The command line of imagescan-cli.
#include <string>
#include <vector>

#include "app/scene/image_scan.h"
#include "app/scene/scene_format.h"

struct CliOptions {
  bool quiet = false;
  bool null_separated = false;  // printed paths end in NUL, not a line feed
  bool help = false;
  bool version = false;
  bool no_cache = false;  // neither read nor write the store of measured sizes
  MeasureMode measure = MeasureMode::Exact;
  PovVersion pov_version = PovVersion::Pov38;
  bool pov_version_chosen = false;  // given on the command line
  bool render = false;              // render each scene written into image_scan.png
  int render_width = 1280;
  int render_height = 720;
  std::string povray;                // the POV-Ray program as given, bytes; empty: povray on PATH
  std::vector<std::string> folders;  // as given, bytes
};

struct CliParse {
  CliOptions options;
  std::string error;  // empty when the command line is usable
};

CliParse ParseCliArguments(const std::vector<std::string>& arguments);

extern const char kCliUsage[];
