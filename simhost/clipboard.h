// The host's music clipboard behind HK_CopyCutMusic, HK_InsertMergeMusic and
// HK_DisposeTonClipFileToken. Copying a region takes, for every staff row of
// the region (its slots counted in the region's start list), every measure
// and every layer, the stored entries that lie in the region (positions
// inclusive at both ends, 0x7FFFFFFF meaning the end of the measure) with the
// records keyed by their entry numbers, into a clip named by a token. Cutting
// also removes those entries from the document (their records stay). Pasting
// puts row r, measure offset k of a clip into the staff at the target's start
// slot + r and the measure at its start measure + k: the entries of the target
// layer whose positions lie in the copied span of that measure are replaced
// by copies with new entry numbers and copies of their records; positions
// inside the measure are kept as they were copied. Rows and measures beyond
// the document are dropped. A clip can be pasted any number of times until
// its token is disposed.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "simhost/document.h"

namespace simhost {

// The request the library passes: the region, then two 32-bit fields of the host's.
struct MusicClipRequest {
  EREGION region;
  std::int32_t first;
  std::int32_t second;
};

class Clipboard {
 public:
  // Copies (cut false) or cuts the region's music into a new clip. Answers its
  // token (never 0), or 0 for an empty region.
  std::int32_t Copy(Document& document, const EREGION& region, bool cut);
  // Pastes a clip at the target's start slot and measure. False for an unknown
  // token or an empty target.
  bool Paste(Document& document, std::int32_t token, const EREGION& target);
  // Disposes of a clip; false for an unknown token.
  bool Dispose(std::int32_t token);
  // Answers the number of clips not yet disposed of.
  std::size_t Held() const { return _clips.size(); }

 private:
  struct ClipRecord {
    EXTAG tag;
    std::int16_t inci;
    RecordBytes bytes;
  };
  struct ClipEntry {
    EXENTRY entry;
    std::vector<ClipRecord> records;  // records keyed by the entry's number
  };
  struct ClipLayer {
    std::int16_t row;             // staff row from the region's first slot, from 0
    std::int16_t measureOffset;   // from the region's start measure, from 0
    std::int16_t layer;
    std::int32_t from;            // the copied span of the measure, inclusive
    std::int32_t to;
    std::vector<ClipEntry> entries;
  };
  using Clip = std::vector<ClipLayer>;

  std::map<std::int32_t, Clip> _clips;
  std::int32_t _lastToken = 0;
};

}  // namespace simhost
