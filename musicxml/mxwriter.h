// Writes the in-memory score as a MusicXML 4.0 score-partwise document,
// plain or compressed (.mxl), and writes files atomically.
#pragma once

#include <string>

#include "musicxml/mxresult.h"
#include "musicxml/mxscore.h"

namespace musicxml {

class MxWriter {
 public:
  // Answers the score as MusicXML text; fails when a time value cannot be
  // written in whole divisions.
  static MxResult WriteText(const MxScore& score, std::string* text);

  // Writes the score to `path` (compressed when it ends in .mxl) through a
  // temporary file beside it that is renamed into place only when complete;
  // on failure nothing is left at `path` or beside it.
  static MxResult WriteFile(const MxScore& score, const std::string& path);

  // Writes bytes to `path` the same atomic way.
  static MxResult WriteBytes(const std::string& bytes, const std::string& path);

  // Answers the bytes of the file `path` would receive (.mxl: an archive).
  static MxResult Serialise(const MxScore& score, const std::string& path, std::string* bytes);

 private:
  static MxResult WritePart(const MxScore& score, const MxPart& part, pugi::xml_node out);
};

}  // namespace musicxml
