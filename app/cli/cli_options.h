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
  std::vector<std::string> folders;  // as given, bytes
};

struct CliParse {
  CliOptions options;
  std::string error;  // empty when the command line is usable
};

CliParse ParseCliArguments(const std::vector<std::string>& arguments);

extern const char kCliUsage[];
