// libFuzzer target of the MusicXML reader. Any input must be read or refused
// without a crash; what is read must write, read back, and hold the same music.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "musicxml/mxeventlist.h"
#include "musicxml/mxreader.h"
#include "musicxml/mxwriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  musicxml::MxScore score;
  if (!musicxml::MxReader::ReadMemory(bytes, "fuzz.musicxml", &score)) return 0;
  std::string text;
  const musicxml::MxResult written = musicxml::MxWriter::WriteText(score, &text);
  if (!written) return 0;  // a score whose time values need more than 31-bit divisions
  musicxml::MxScore again;
  const musicxml::MxResult reread = musicxml::MxReader::ReadMemory(text, "fuzz-out.musicxml", &again);
  if (!reread) {
    std::fprintf(stderr, "written score does not read back: %s\n", reread.Message().c_str());
    std::abort();
  }
  const std::string difference =
      musicxml::MxEventList::Compare(musicxml::MxEventList::Of(score), musicxml::MxEventList::Of(again));
  if (!difference.empty()) {
    std::fprintf(stderr, "round trip changed the music: %s\n", difference.c_str());
    std::abort();
  }
  return 0;
}
