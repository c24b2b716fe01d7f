// The explode-layers pipeline on a generated large score (a piano part of two
// staves, four-note chords throughout) at two sizes: reading, putting into the
// host, the command itself, and writing back, each timed on its own.
//
// Every iteration starts from fresh objects, built and destroyed outside the
// timed part, so that no stage sees the leftovers of the one before. The heap's
// free memory is handed back to the system before each timed part, so that
// every iteration pays for the memory it touches first, as the tool does in
// its single run: a page touched for the first time costs several times a
// reused one, and whether the allocator reuses pages would otherwise depend on
// the size and the iteration.
//
// The counter "per_note" is the time per input note: it stays level when a
// stage grows linearly. Both sizes lie past the point where a stage's working
// set leaves the processor's caches, so the step that comes with that is not
// taken for growth.
#include <benchmark/benchmark.h>

#include <dlfcn.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <map>
#include <memory>
#include <string>

#include "musicxml/mxhostexport.h"
#include "musicxml/mxhostimport.h"
#include "musicxml/mxreader.h"
#include "musicxml/mxwriter.h"
#include "simhost/host.h"

namespace {

std::string Chord(const char* const* steps, int octave, int voice, int staff) {
  std::string text;
  for (int i = 0; i < 4; ++i) {
    text += "<note>";
    if (i > 0) text += "<chord/>";
    text += std::string("<pitch><step>") + steps[i] + "</step><octave>" + std::to_string(octave + (i == 3)) +
            "</octave></pitch><duration>1</duration><voice>" + std::to_string(voice) +
            "</voice><type>quarter</type><staff>" + std::to_string(staff) + "</staff></note>";
  }
  return text;
}

std::string GenerateScore(int measures) {
  static const char* const kUpper[] = {"C", "E", "G", "C"};
  static const char* const kLower[] = {"C", "G", "E", "C"};
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><score-partwise version=\"4.0\"><part-list>"
      "<score-part id=\"P1\"><part-name>Piano</part-name></score-part></part-list><part id=\"P1\">";
  for (int m = 1; m <= measures; ++m) {
    text += "<measure number=\"" + std::to_string(m) + "\">";
    if (m == 1)
      text += "<attributes><divisions>1</divisions><key><fifths>0</fifths></key><time><beats>4</beats>"
              "<beat-type>4</beat-type></time><staves>2</staves><clef number=\"1\"><sign>G</sign><line>2</line>"
              "</clef><clef number=\"2\"><sign>F</sign><line>4</line></clef></attributes>";
    for (int beat = 0; beat < 4; ++beat) text += Chord(kUpper, 4, 1, 1);
    text += "<backup><duration>4</duration></backup>";
    for (int beat = 0; beat < 4; ++beat) text += Chord(kLower, 2, 5, 2);
    text += "</measure>";
  }
  return text + "</part></score-partwise>";
}

// Four notes a chord, four chords a measure, two staves.
constexpr double kNotesPerMeasure = 4 * 4 * 2;

// The generated text of each size, made once.
const std::string& LargeScore(std::int64_t measures) {
  static std::map<std::int64_t, std::string> texts;
  auto found = texts.find(measures);
  if (found == texts.end()) found = texts.emplace(measures, GenerateScore(int(measures))).first;
  return found->second;
}

// Ends the untimed part of an iteration: the memory freed so far goes back to the system.
void ResumeAfterTrim(benchmark::State& state) {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
  state.ResumeTiming();
}

void CountNotes(benchmark::State& state) {
  state.counters["measures"] = double(state.range(0));
  state.counters["per_note"] = benchmark::Counter(double(state.range(0)) * kNotesPerMeasure,
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}

// The plug-in, loaded once as the host loads it.
struct Plugin : TonaroExtensionExports {
  Plugin() {
    handle = dlopen(ZK_BENCH_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) Bind([this](const char* name) { return dlsym(handle, name); });
  }
  void* handle = nullptr;
};

Plugin& ThePlugin() {
  static Plugin plugin;
  return plugin;
}

// A score read and put into a substitute host, as the tool has it before the command.
struct LoadedScore {
  explicit LoadedScore(std::int64_t measures) {
    ok = musicxml::MxReader::ReadMemory(LargeScore(measures), "large.musicxml", &score) &&
         musicxml::MxHostImport::Import(score, 4, &host.document, &binding);
  }
  musicxml::MxScore score;
  simhost::Host host;
  musicxml::MxHostBinding binding;
  bool ok = false;
};

void BM_Read(benchmark::State& state) {
  const std::string& text = LargeScore(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto score = std::make_unique<musicxml::MxScore>();
    ResumeAfterTrim(state);
    if (!musicxml::MxReader::ReadMemory(text, "large.musicxml", score.get())) state.SkipWithError("read failed");
    state.PauseTiming();
    score.reset();
    state.ResumeTiming();
  }
  CountNotes(state);
}

void BM_Import(benchmark::State& state) {
  musicxml::MxScore score;
  if (!musicxml::MxReader::ReadMemory(LargeScore(state.range(0)), "large.musicxml", &score))
    state.SkipWithError("read failed");
  for (auto _ : state) {
    state.PauseTiming();
    auto host = std::make_unique<simhost::Host>();
    auto binding = std::make_unique<musicxml::MxHostBinding>();
    ResumeAfterTrim(state);
    if (!musicxml::MxHostImport::Import(score, 4, &host->document, binding.get()))
      state.SkipWithError("import failed");
    state.PauseTiming();
    binding.reset();
    host.reset();
    state.ResumeTiming();
  }
  CountNotes(state);
}

void BM_Explode(benchmark::State& state) {
  Plugin& plugin = ThePlugin();
  if (plugin.invoke == nullptr || plugin.version == nullptr) {
    state.SkipWithError("the plug-in has no TonaroExtensionInvoke");
    for (auto _ : state) {
    }
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto loaded = std::make_unique<LoadedScore>(state.range(0));
    EREGION selection = loaded->host.document.WholeDocument();
    loaded->host.document.SetSelection(selection);
    plugin.version(kTonaroFrameworkVersion);
    ResumeAfterTrim(state);
    if (!loaded->ok || plugin.invoke(0, 0, &selection, 0) != 1) state.SkipWithError("explode failed");
    state.PauseTiming();
    loaded.reset();
    state.ResumeTiming();
  }
  CountNotes(state);
}

void BM_ExportAndWrite(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto loaded = std::make_unique<LoadedScore>(state.range(0));
    std::string text;
    ResumeAfterTrim(state);
    if (!loaded->ok || !musicxml::MxHostExport::Export(loaded->host.document, loaded->binding, &loaded->score) ||
        !musicxml::MxWriter::WriteText(loaded->score, &text))
      state.SkipWithError("export or write failed");
    state.PauseTiming();
    loaded.reset();
    text.clear();
    text.shrink_to_fit();
    state.ResumeTiming();
  }
  CountNotes(state);
}

BENCHMARK(BM_Read)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Explode)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportAndWrite)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
