// explode-layers: reads a MusicXML score into the substitute host, runs the
// Explode Layers plug-in on a selection exactly as the host does, and writes
// the result back as MusicXML.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "musicxml/mxhostexport.h"
#include "musicxml/mxhostimport.h"
#include "musicxml/mxreader.h"
#include "musicxml/mxwriter.h"
#include "simhost/host.h"
#include "tools/demoscore.h"
#include "tools/layerprint.h"
#include "tools/pluginrunner.h"
#include "tools/tooloptions.h"

namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

int Usage(const std::string& problem) {
  std::cerr << "explode-layers: " << problem << "\n" << tools::ToolUsage();
  return kUsage;
}

int Fail(const std::string& message) {
  std::cerr << "explode-layers: " << message << "\n";
  return kFailure;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first;
  struct stat second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// A private settings folder that exists for the run, with the options the command line turned on.
class SettingsFolder {
 public:
  ~SettingsFolder() {
    if (_path.empty()) return;
    std::remove((_path + "/zkpluginoptions.txt").c_str());
    rmdir(_path.c_str());
  }
  std::string Make(bool duplicateUnisons, bool centerRests) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/explode-layers-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) return std::string();
    _path = pattern;
    std::ofstream options(_path + "/zkpluginoptions.txt");
    options << "ZKEXPLODLAYERS_DUPLICATE_UNISONS=" << (duplicateUnisons ? 1 : 0) << "\n"
            << "ZKEXPLODELAYERS_CENTER_RESTS=" << (centerRests ? 1 : 0) << "\n";
    return options ? _path : std::string();
  }

 private:
  std::string _path;
};

// Builds the selection of the options over the document; "" or what is wrong.
std::string Selection(const tools::ToolOptions& options, const simhost::Document& document, EREGION* region) {
  const std::int32_t staves = document.StaffCount();
  const std::int32_t measures = document.MeasureCount();
  tools::Range staffRange = options.staves.IsAll() ? tools::Range{1, staves} : options.staves;
  tools::Range measureRange = options.measures.IsAll() ? tools::Range{1, measures} : options.measures;
  if (staffRange.last > staves)
    return "--staves " + std::to_string(staffRange.first) + "-" + std::to_string(staffRange.last) +
           ": the score has " + std::to_string(staves) + " staves";
  if (measureRange.last > measures)
    return "--measures " + std::to_string(measureRange.first) + "-" + std::to_string(measureRange.last) +
           ": the score has " + std::to_string(measures) + " measures";
  std::int32_t start = 0;
  std::int32_t end = kEndOfMeasure;
  if (options.hasStartOffset) start = std::int32_t(std::lround(options.startOffset * simhost::kQuarterNote));
  if (options.hasEndOffset) end = std::int32_t(std::lround(options.endOffset * simhost::kQuarterNote));
  const std::int32_t firstLength = document.MeasureDuration(document.SlotToStaff(1), std::int16_t(measureRange.first));
  const std::int32_t lastLength = document.MeasureDuration(document.SlotToStaff(1), std::int16_t(measureRange.last));
  if (start >= firstLength) return "--start-offset lies beyond the end of measure " + std::to_string(measureRange.first);
  if (options.hasEndOffset && end > lastLength)
    return "--end-offset lies beyond the end of measure " + std::to_string(measureRange.last);
  if (measureRange.first == measureRange.last && end < start) return "--end-offset lies before --start-offset";
  *region = simhost::Document::MakeRegion(std::int16_t(staffRange.first), std::int16_t(staffRange.last),
                                          std::int16_t(measureRange.first), std::int16_t(measureRange.last), start, end);
  return std::string();
}

int Run(const tools::ToolOptions& options) {
  musicxml::MxScore score;
  const musicxml::MxResult read = options.demo
                                      ? musicxml::MxReader::ReadMemory(tools::DemoScore(), "demo.musicxml", &score)
                                      : musicxml::MxReader::ReadFile(options.input, &score);
  if (!read) return Fail(read.Message());
  if (!options.demo && options.output != "-" && SameFile(options.input, options.output))
    return Usage("the output " + options.output + " is the input; the input is never overwritten");
  if (!options.output.empty() && options.output != "-") {
    const std::size_t slash = options.output.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : options.output.substr(0, slash + 1);
    struct stat info;
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
      return Fail(options.output + ": cannot write the output: the folder " + folder + " does not exist");
  }

  simhost::Host host;
  SettingsFolder privateSettings;
  host.settings.settingsFolder = options.settingsDir;
  if (options.settingsDir.empty()) {
    host.settings.settingsFolder = privateSettings.Make(options.duplicateUnisons, options.centerRests);
    if (host.settings.settingsFolder.empty()) return Fail("cannot make a settings folder for the run");
  }
  musicxml::MxHostBinding binding;
  const std::int16_t layers = std::int16_t(host.settings.maxLayersAnswer);
  const musicxml::MxResult imported = musicxml::MxHostImport::Import(score, layers, &host.document, &binding);
  if (!imported) return Fail(imported.Message());

  EREGION selection{};
  const std::string problem = Selection(options, host.document, &selection);
  if (!problem.empty()) return Usage(problem);
  host.document.SetSelection(selection);
  if (options.print)
    std::cout << "Before:\n" << tools::DescribeLayers(host.document, score, binding, selection);

  tools::PluginRunner plugin;
  const std::string path = options.plugin.empty() ? tools::PluginRunner::DefaultPath() : options.plugin;
  std::string failure = plugin.Load(path);
  if (failure.empty()) failure = plugin.Run(&selection);
  if (!failure.empty()) return Fail(failure);
  if (host.OutstandingFrames() != 0)
    return Fail("the plug-in left " + std::to_string(host.OutstandingFrames()) + " entry frames loaded");
  if (options.print)
    std::cout << "After:\n" << tools::DescribeLayers(host.document, score, binding, selection);

  const musicxml::MxResult exported = musicxml::MxHostExport::Export(host.document, binding, &score);
  if (!exported) return Fail(exported.Message());
  if (options.output.empty()) return kSuccess;
  if (options.output == "-") {
    std::string text;
    const musicxml::MxResult written = musicxml::MxWriter::WriteText(score, &text);
    if (!written) return Fail(written.Message());
    std::cout << text;
    return kSuccess;
  }
  const musicxml::MxResult written = musicxml::MxWriter::WriteFile(score, options.output);
  if (!written) return Fail(written.Message());
  return kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  tools::ToolOptions options;
  const std::string problem = tools::ParseToolOptions(argc, argv, &options);
  if (!problem.empty()) return Usage(problem);
  if (options.help) {
    std::cout << tools::ToolUsage();
    return kSuccess;
  }
  return Run(options);
}
