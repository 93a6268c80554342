#pragma once
// The command line of imagescan-cli.
#include <string>
#include <vector>

#include "app/scene/image_scan.h"

struct CliOptions {
  bool quiet = false;
  bool null_separated = false;  // printed paths end in NUL, not a line feed
  bool help = false;
  bool version = false;
  MeasureMode measure = MeasureMode::Exact;
  std::vector<std::string> folders;  // as given, bytes
};

struct CliParse {
  CliOptions options;
  std::string error;  // empty when the command line is usable
};

CliParse ParseCliArguments(const std::vector<std::string>& arguments);

extern const char kCliUsage[];
