// Compressed MusicXML (.mxl): a zip archive whose META-INF/container.xml
// names the score document inside it.
#pragma once

#include <string>

#include "musicxml/mxresult.h"

namespace musicxml {

class MxArchive {
 public:
  // Answers whether the bytes begin like a zip archive.
  static bool LooksLikeZip(const std::string& bytes);

  // Extracts the score document the container names; on failure answers why
  // (not a zip, no container, no rootfile, a missing or unreadable member).
  static MxResult ExtractScore(const std::string& archive, const std::string& archiveName,
                               std::string* document);

  // Builds an archive holding the document as `memberName`, with the mimetype
  // and container entries; answers a failure when the zip library refuses.
  static MxResult Build(const std::string& document, const std::string& memberName, std::string* archive);
};

}  // namespace musicxml
