// The explode-layers pipeline on a generated large score (a piano part of two
// staves, four-note chords throughout) at two sizes: reading, putting into the
// host, the command itself, and writing back, each timed on its own.
#include <benchmark/benchmark.h>

#include <dlfcn.h>

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

std::string LargeScore(int measures) {
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

using InvokeFn = std::int32_t(TONARO_CALL*)(std::int32_t, std::int32_t, EREGION*, std::int32_t);
using VersionFn = std::int32_t(TONARO_CALL*)(std::uint32_t);

// The plug-in, loaded once as the host loads it.
struct Plugin {
  Plugin() {
    handle = dlopen(ZK_BENCH_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return;
    version = reinterpret_cast<VersionFn>(dlsym(handle, "TonaroExtensionVersion"));
    invoke = reinterpret_cast<InvokeFn>(dlsym(handle, "TonaroExtensionInvoke"));
  }
  void* handle = nullptr;
  VersionFn version = nullptr;
  InvokeFn invoke = nullptr;
};

Plugin& ThePlugin() {
  static Plugin plugin;
  return plugin;
}

void BM_Read(benchmark::State& state) {
  const std::string text = LargeScore(int(state.range(0)));
  for (auto _ : state) {
    musicxml::MxScore score;
    if (!musicxml::MxReader::ReadMemory(text, "large.musicxml", &score)) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(score.parts.size());
  }
  state.counters["measures"] = double(state.range(0));
}

void BM_Import(benchmark::State& state) {
  musicxml::MxScore score;
  musicxml::MxReader::ReadMemory(LargeScore(int(state.range(0))), "large.musicxml", &score);
  for (auto _ : state) {
    simhost::Host host;
    musicxml::MxHostBinding binding;
    if (!musicxml::MxHostImport::Import(score, 4, &host.document, &binding)) state.SkipWithError("import failed");
  }
  state.counters["measures"] = double(state.range(0));
}

void BM_Explode(benchmark::State& state) {
  Plugin& plugin = ThePlugin();
  if (plugin.invoke == nullptr) {
    state.SkipWithError("the plug-in has no TonaroExtensionInvoke");
    for (auto _ : state) {
    }
    return;
  }
  musicxml::MxScore score;
  musicxml::MxReader::ReadMemory(LargeScore(int(state.range(0))), "large.musicxml", &score);
  for (auto _ : state) {
    state.PauseTiming();
    simhost::Host host;
    musicxml::MxHostBinding binding;
    musicxml::MxHostImport::Import(score, 4, &host.document, &binding);
    EREGION selection = host.document.WholeDocument();
    host.document.SetSelection(selection);
    plugin.version(kTonaroFrameworkVersion);
    state.ResumeTiming();
    plugin.invoke(0, 0, &selection, 0);
  }
  state.counters["measures"] = double(state.range(0));
}

void BM_ExportAndWrite(benchmark::State& state) {
  musicxml::MxScore score;
  musicxml::MxReader::ReadMemory(LargeScore(int(state.range(0))), "large.musicxml", &score);
  simhost::Host host;
  musicxml::MxHostBinding binding;
  musicxml::MxHostImport::Import(score, 4, &host.document, &binding);
  for (auto _ : state) {
    musicxml::MxHostExport::Export(host.document, binding, &score);
    std::string text;
    if (!musicxml::MxWriter::WriteText(score, &text)) state.SkipWithError("write failed");
    benchmark::DoNotOptimize(text.size());
  }
  state.counters["measures"] = double(state.range(0));
}

BENCHMARK(BM_Read)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Explode)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportAndWrite)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
