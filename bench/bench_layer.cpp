// Entry layers of a large staff on the substitute host: loading, cloning and
// saving a clone, at three sizes. Times are reported per entry, so that a
// cost that grows linearly with the layer shows as a flat line across sizes.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "simhost/host.h"
#include "simhost/scorebuilder.h"
#include "tonaroframework/entries/pknoteentrylayer.h"

namespace {

constexpr int kChordsPerMeasure = 16;

// The library looks the host up once per process, so every benchmark shares
// one host; each gets a fresh score of one staff of `measures` measures, each
// of sixteen four-note chords.
class LargeStaff {
 public:
  explicit LargeStaff(int measures) : host(SharedHost()), _measures(std::int16_t(measures)) {
    host.document = simhost::Document();
    host.ClearCallLog();
    simhost::ScoreBuilder score(host.document);
    score.Staves(1).Measures(_measures);
    std::string music;
    for (int i = 0; i < kChordsPerMeasure; ++i) music += i == 0 ? "C4-E4-G4-B4/16" : " D4-F4-A4-C5";
    for (std::int16_t m = 1; m <= _measures; ++m) score.Layer(1, m, 1, music);
  }

  std::int16_t Measures() const { return _measures; }
  std::int64_t Entries() const { return std::int64_t(_measures) * kChordsPerMeasure; }

  simhost::Host& host;

 private:
  static simhost::Host& SharedHost() {
    static simhost::Host shared;
    return shared;
  }

  std::int16_t _measures;
};

// Reports the time per entry of the layer and checks that nothing leaked.
void Finish(benchmark::State& state, LargeStaff& staff) {
  state.SetItemsProcessed(state.iterations() * staff.Entries());
  state.counters["entries"] = double(staff.Entries());
  state.counters["per_entry"] = benchmark::Counter(double(staff.Entries()),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
  if (staff.host.OutstandingFrames() != 0) state.SkipWithError("frames left outstanding");
}

// The host logs every call; the log is emptied between iterations, untimed.
void ClearLog(benchmark::State& state, LargeStaff& staff) {
  state.PauseTiming();
  staff.host.ClearCallLog();
  state.ResumeTiming();
}

void BM_LayerLoad(benchmark::State& state) {
  LargeStaff staff(int(state.range(0)));
  for (auto _ : state) {
    PKNoteEntryLayer layer(0, 1, 1, staff.Measures());
    if (!layer.Load() || layer.GetCount() != staff.Entries()) {
      state.SkipWithError("load failed");
      break;
    }
    benchmark::DoNotOptimize(layer.GetItemAt(layer.GetCount() - 1));
    ClearLog(state, staff);
  }
  Finish(state, staff);
}

void BM_LayerClone(benchmark::State& state) {
  LargeStaff staff(int(state.range(0)));
  {
    PKNoteEntryLayer source(0, 1, 1, staff.Measures());
    source.Load();
    for (auto _ : state) {
      std::unique_ptr<PKNoteEntryLayer> clone(source.CreateCloneEntries(1, 1, 1));
      if (clone->GetCount() != source.GetCount()) {
        state.SkipWithError(("clone failed: " + std::to_string(clone->GetCount()) + " entries").c_str());
        break;
      }
      ClearLog(state, staff);
    }
  }
  Finish(state, staff);
}

// Saving a clone: every frame is stored and, holding new entries, reloaded.
void BM_LayerSaveClone(benchmark::State& state) {
  LargeStaff staff(int(state.range(0)));
  {
    PKNoteEntryLayer source(0, 1, 1, staff.Measures());
    source.Load();
    for (auto _ : state) {
      state.PauseTiming();
      std::unique_ptr<PKNoteEntryLayer> clone(source.CreateCloneEntries(1, 1, 1));
      staff.host.ClearCallLog();
      state.ResumeTiming();
      if (!clone->Save() || clone->GetItemAt(0)->GetEntryNumber() == 0) {
        state.SkipWithError("save failed");
        break;
      }
      state.PauseTiming();
      clone.reset();
      state.ResumeTiming();
    }
  }
  Finish(state, staff);
}

BENCHMARK(BM_LayerLoad)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayerClone)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayerSaveClone)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
