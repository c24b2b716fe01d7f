#include "tools/tooloptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace tools {
namespace {

bool ParseRange(const std::string& text, Range* range) {
  const std::size_t dash = text.find('-');
  const std::string first = text.substr(0, dash);
  const std::string last = dash == std::string::npos ? first : text.substr(dash + 1);
  auto number = [](const std::string& part, std::int32_t* value) {
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos || part.size() > 6) return false;
    *value = std::int32_t(std::atol(part.c_str()));
    return *value >= 1;
  };
  return number(first, &range->first) && number(last, &range->last) && range->first <= range->last;
}

bool ParseQuarters(const std::string& text, double* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtod(text.c_str(), &end);
  return errno == 0 && end != nullptr && *end == 0 && *value >= 0 && *value < 1e6;
}

}  // namespace

const char* ToolUsage() {
  return "usage: explode-layers [options] INPUT -o OUTPUT\n"
         "       explode-layers --demo [-o OUTPUT]\n"
         "Spreads the chords of layer 1 over layers 1 to 4 on every staff of the selection\n"
         "whose other layers are empty, running the Explode Layers plug-in as the host does.\n"
         "  -o, --output FILE        result (.musicxml, .xml or .mxl); - for standard output\n"
         "  --measures A-B           measures of the selection, from 1 (default: all)\n"
         "  --staves A-B             staves by position in score order, from 1 (default: all)\n"
         "  --start-offset Q         offset into the first selected measure, in quarter notes\n"
         "  --end-offset Q           offset into the last selected measure, in quarter notes\n"
         "  --duplicate-unisons      copy single notes into every new layer\n"
         "  --center-rests           turn the centre-rests option on (this plug-in version reads it\n"
         "                           but does not move rests yet)\n"
         "  --settings-dir DIR       use DIR as the host's settings folder (its options file as it is)\n"
         "  --print                  print the layers of the selection before and after\n"
         "  --plugin PATH            the plug-in library to load (default: the one built with the tool)\n"
         "  --demo                   use the built-in chorale instead of INPUT\n"
         "Exit status: 0 success, 1 input that cannot be read or processed, 2 usage error.\n";
}

std::string ParseToolOptions(int argc, char** argv, ToolOptions* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    std::string text;
    if (argument == "-o" || argument == "--output") {
      if (!value(&options->output) || options->output.empty()) return argument + " needs a file";
    } else if (argument == "--measures" || argument == "--staves") {
      Range* range = argument == "--measures" ? &options->measures : &options->staves;
      if (!value(&text) || !ParseRange(text, range)) return argument + " needs a range A-B of numbers from 1";
    } else if (argument == "--start-offset" || argument == "--end-offset") {
      const bool start = argument == "--start-offset";
      if (!value(&text) || !ParseQuarters(text, start ? &options->startOffset : &options->endOffset))
        return argument + " needs a number of quarter notes (0 or more)";
      (start ? options->hasStartOffset : options->hasEndOffset) = true;
    } else if (argument == "--duplicate-unisons") {
      options->duplicateUnisons = true;
    } else if (argument == "--center-rests") {
      options->centerRests = true;
    } else if (argument == "--settings-dir") {
      if (!value(&options->settingsDir) || options->settingsDir.empty()) return "--settings-dir needs a folder";
    } else if (argument == "--print") {
      options->print = true;
    } else if (argument == "--plugin") {
      if (!value(&options->plugin) || options->plugin.empty()) return "--plugin needs a library path";
    } else if (argument == "--demo") {
      options->demo = true;
    } else if (argument == "-h" || argument == "--help") {
      options->help = true;
    } else if (!argument.empty() && argument[0] == '-' && argument != "-") {
      return "unknown option " + argument;
    } else if (options->input.empty()) {
      options->input = argument;
    } else {
      return "more than one input file (" + options->input + ", " + argument + ")";
    }
  }
  if (options->help) return std::string();
  if (options->demo && !options->input.empty()) return "--demo takes no input file";
  if (!options->demo && options->input.empty()) return "an input file is needed (or --demo)";
  if (!options->demo && options->output.empty()) return "an output file is needed: -o OUTPUT";
  if (!options->settingsDir.empty() && (options->duplicateUnisons || options->centerRests))
    return "--settings-dir cannot be combined with --duplicate-unisons or --center-rests";
  return std::string();
}

}  // namespace tools
