#pragma once
// The command line of imagescan-cli.
#include <string>
#include <vector>

#include "app/scene/scene_format.h"

struct CliOptions {
  bool quiet = false;
  bool help = false;
  bool version = false;
  PovVersion pov_version = PovVersion::Pov38;
  std::vector<std::string> folders;  // as given, bytes
};

struct CliParse {
  CliOptions options;
  std::string error;  // empty when the command line is usable
};

CliParse ParseCliArguments(const std::vector<std::string>& arguments);

extern const char kCliUsage[];
