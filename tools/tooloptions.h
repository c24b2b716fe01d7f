// The command line of explode-layers, as DESIGN.md gives it.
#pragma once

#include <cstdint>
#include <string>

namespace tools {

// A range of measures or staves, from 1; 0 for "all".
struct Range {
  std::int32_t first = 0;
  std::int32_t last = 0;
  bool IsAll() const { return first == 0; }
};

struct ToolOptions {
  std::string input;           // empty with --demo
  std::string output;          // "-" for standard output; empty: none (only with --demo)
  Range measures;
  Range staves;
  bool hasStartOffset = false;
  bool hasEndOffset = false;
  double startOffset = 0;      // quarter notes into the first selected measure
  double endOffset = 0;        // quarter notes into the last selected measure
  bool duplicateUnisons = false;
  bool centerRests = false;
  std::string settingsDir;
  bool print = false;
  std::string plugin;          // empty: the one built with the tool
  bool demo = false;
  bool help = false;
};

// Parses the arguments; answers "" on success, else what is wrong with them.
std::string ParseToolOptions(int argc, char** argv, ToolOptions* options);

// Answers the usage text.
const char* ToolUsage();

}  // namespace tools
