// Reads MusicXML score-partwise documents (.musicxml, .xml, and compressed
// .mxl) into the in-memory score. Errors are results that name the file and,
// where there is one, the line.
#pragma once

#include <cstddef>
#include <string>

#include "musicxml/mxresult.h"
#include "musicxml/mxscore.h"

namespace musicxml {

class MxReader {
 public:
  // Reads the file at `path` into `score`; answers why it could not (the score is then unspecified).
  static MxResult ReadFile(const std::string& path, MxScore* score);

  // Reads a document (or a zip archive, recognised by its first bytes) held
  // in memory; `name` stands for the file in messages.
  static MxResult ReadMemory(const std::string& bytes, const std::string& name, MxScore* score);

 private:
  static MxResult ReadDocument(const std::string& text, MxScore* score);
  static MxResult ReadPart(MxScore* score, pugi::xml_node element, MxPart* part);
};

}  // namespace musicxml
