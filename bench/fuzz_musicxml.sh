#!/usr/bin/env bash
# Fuzzes the MusicXML reader with libFuzzer (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) for a bounded time, seeded with the corpus.
#   bench/fuzz_musicxml.sh [--seconds N] [--build-dir DIR] [--corpus DIR]
# Exit status 0 when the run ends without a finding; crashing inputs are left
# in the build folder (crash-*, oom-*, timeout-*).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=300
build="$here/build/fuzz-musicxml"
corpus="$here/../shared/corpus"
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --build-dir) build="$2"; shift 2 ;;
    --corpus) corpus="$2"; shift 2 ;;
    *) echo "usage: $0 [--seconds N] [--build-dir DIR] [--corpus DIR]" >&2; exit 2 ;;
  esac
done

sources=(
  musicxml/mxarchive.cpp musicxml/mxcanonical.cpp musicxml/mxeventlist.cpp musicxml/mxfraction.cpp
  musicxml/mxmeasurereader.cpp musicxml/mxnote.cpp musicxml/mxnotevalue.cpp musicxml/mxnotewriter.cpp
  musicxml/mxpartlayout.cpp musicxml/mxreader.cpp musicxml/mxresult.cpp musicxml/mxscore.cpp
  musicxml/mxtext.cpp musicxml/mxtupletreader.cpp musicxml/mxwriter.cpp
  tests/musicxml/mxreader_fuzz.cpp
)
mkdir -p "$build/objects" "$build/corpus"
binary="$build/mxreader_fuzz"
flags=(-std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$here")
objects=()
for source in "${sources[@]}"; do
  object="$build/objects/$(basename "${source%.cpp}").o"
  objects+=("$object")
  if [ ! -f "$object" ] || [ "$here/$source" -nt "$object" ] || [ -n "$(find "$here/musicxml" -name '*.h' -newer "$object")" ]; then
    clang++ "${flags[@]}" -c "$here/$source" -o "$object"
  fi
done
clang++ "${flags[@]}" "${objects[@]}" -lpugixml -lzip -o "$binary"

# Seeds: the small edge-case files (the large real pieces slow every run down).
if [ -d "$corpus/edge" ]; then cp -n "$corpus"/edge/* "$build/corpus/" 2>/dev/null || true; fi
cd "$build"
ASAN_OPTIONS=detect_leaks=1 "$binary" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 "$build/corpus"
