#include "app/cli/cli_options.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "app/scene/leading_number.h"

const char kCliUsage[] =
    "usage: imagescan-cli [--quiet] [--null] [--quick | --measure=MODE] [--no-cache]\n"
    "                     [--pov-version=3.8|3.7] [--render[=WIDTHxHEIGHT]]\n"
    "                     [--povray=PROGRAM] FOLDER...\n"
    "Writes FOLDER/image_scan.pov: a POV-Ray scene with one add_image line for every\n"
    "png, jpg, gif and hdr image in FOLDER and the folders below it; with --render,\n"
    "renders it with POV-Ray into FOLDER/image_scan.png.\n"
    "\n"
    "  -q, --quiet    do not print the images' paths\n"
    "  -0, --null     end each printed path with a NUL byte instead of a line feed\n"
    "      --quick    take each size from the file's header alone, which is much faster;\n"
    "                 but a damaged file then gets the size its header states instead\n"
    "                 of 1 x 1, and a Radiance HDR file the size of its resolution line\n"
    "                 instead of 1 x 1\n"
    "      --measure=MODE\n"
    "                 exact: load each image to learn its size (the default, and what\n"
    "                 the window does); quick: as --quick; bitmap: decode each image\n"
    "                 into a whole bitmap, on one thread (slow; for comparison)\n"
    "      --no-cache measure every image, without looking in or adding to the store of\n"
    "                 sizes measured before (which keeps each file's size under its\n"
    "                 identity, size and times on the disk, no names, in the user's\n"
    "                 cache folder: $XDG_CACHE_HOME/imagescan or ~/.cache/imagescan,\n"
    "                 on Windows %LOCALAPPDATA%\\imagescan; deleting sizes.sqlite*\n"
    "                 there clears it)\n"
    "      --pov-version=VERSION\n"
    "                 the POV-Ray version to write the scene for: 3.8 (the default,\n"
    "                 the window's scene) or 3.7 (also read by POV-Ray 3.7.0); with\n"
    "                 --render, the scene the POV-Ray found reads unless given\n"
    "      --render[=WIDTHxHEIGHT]\n"
    "                 after writing each scene, render it with POV-Ray, run in FOLDER,\n"
    "                 into FOLDER/image_scan.png, WIDTH x HEIGHT pixels (default\n"
    "                 1280x720); the previous picture stays when the render fails\n"
    "      --povray=PROGRAM\n"
    "                 the POV-Ray to render with (default: povray, found on PATH)\n"
    "  -h, --help     show this help\n"
    "      --version  show the version\n"
    "\n"
    "Paths go out byte for byte; on a terminal control characters are shown as escapes.\n"
    "\n"
    "Exit status: 0 every scene complete; 3 scenes written, but some folders or files\n"
    "could not be read (each is named); 1 a folder could not be read or its scene file\n"
    "could not be written (the previous one stays); 2 bad command line; 4 scenes\n"
    "written, but one could not be rendered (POV-Ray failed or is missing; the\n"
    "previous picture stays); 128+N ended by signal N (the previous scene file and\n"
    "picture stay).\n";

namespace {

// The value of "--name=VALUE", empty for "--name" alone; nothing for another argument.
std::optional<std::string> OptionValue(std::string_view argument, std::string_view name) {
  if (!argument.starts_with(name)) return std::nullopt;
  const std::string_view rest = argument.substr(name.size());
  if (!rest.empty() && rest[0] != '=') return std::nullopt;
  return std::string(rest.substr(std::min<size_t>(rest.size(), 1)));
}

// Sets out to the choice named value; false when none is.
template <typename T>
bool Choose(std::string_view value, std::initializer_list<std::pair<std::string_view, T>> choices, T& out) {
  for (const auto& [name, choice] : choices) {
    if (value == name) {
      out = choice;
      return true;
    }
  }
  return false;
}

// "WIDTHxHEIGHT", each from 1 to kLargestSide; false for anything else.
bool ReadPictureSize(std::string_view value, int& width, int& height) {
  constexpr int kLargestSide = 65535;
  const auto fits = [](std::optional<int> side) { return side && *side >= 1 && *side <= kLargestSide; };
  const std::optional<int> across = TakeLeadingNumber<int>(value);
  if (!fits(across) || !value.starts_with('x')) return false;
  value.remove_prefix(1);
  const std::optional<int> down = TakeLeadingNumber<int>(value);
  if (!fits(down) || !value.empty()) return false;
  width = *across;
  height = *down;
  return true;
}

}  // namespace

CliParse ParseCliArguments(const std::vector<std::string>& arguments) {
  CliParse parse;
  bool options_done = false;
  for (const std::string& argument : arguments) {
    if (options_done || argument.empty() || argument[0] != '-' || argument == "-") {
      parse.options.folders.push_back(argument);
    } else if (argument == "--") {
      options_done = true;
    } else if (argument == "-q" || argument == "--quiet") {
      parse.options.quiet = true;
    } else if (argument == "-0" || argument == "--null") {
      parse.options.null_separated = true;
    } else if (argument == "-h" || argument == "--help") {
      parse.options.help = true;
    } else if (argument == "--version") {
      parse.options.version = true;
    } else if (const auto version = OptionValue(argument, "--pov-version")) {
      if (!Choose<PovVersion>(*version, {{"3.8", PovVersion::Pov38}, {"3.7", PovVersion::Pov37}},
                              parse.options.pov_version)) {
        parse.error = "--pov-version takes 3.8 or 3.7, not '" + *version + "'";
        return parse;
      }
      parse.options.pov_version_chosen = true;
    } else if (const auto size = OptionValue(argument, "--render")) {
      parse.options.render = true;
      if (!size->empty() && !ReadPictureSize(*size, parse.options.render_width, parse.options.render_height)) {
        parse.error = "--render takes WIDTHxHEIGHT, such as 1280x720, not '" + *size + "'";
        return parse;
      }
    } else if (const auto program = OptionValue(argument, "--povray")) {
      if (program->empty()) {
        parse.error = "--povray takes a program, such as --povray=/usr/bin/povray";
        return parse;
      }
      parse.options.povray = *program;
    } else if (argument == "--no-cache") {
      parse.options.no_cache = true;
    } else if (argument == "--quick") {
      parse.options.measure = MeasureMode::Quick;
    } else if (const auto mode = OptionValue(argument, "--measure")) {
      if (!Choose<MeasureMode>(
              *mode, {{"exact", MeasureMode::Exact}, {"quick", MeasureMode::Quick}, {"bitmap", MeasureMode::Bitmap}},
              parse.options.measure)) {
        parse.error = "unknown measuring mode '" + *mode + "' (exact, quick or bitmap)";
        return parse;
      }
    } else {
      parse.error = "unknown option '" + argument + "'";
      return parse;
    }
  }
  if (parse.options.folders.empty() && !parse.options.help && !parse.options.version) {
    parse.error = "no folder given";
  }
  return parse;
}
