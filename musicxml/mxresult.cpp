#include "musicxml/mxresult.h"

#include <utility>

namespace musicxml {

std::string MxResult::Message() const {
  std::string text;
  if (!file.empty()) {
    text = file;
    if (line > 0) text += ":" + std::to_string(line);
    text += ": ";
  } else if (line > 0) {
    text = "line " + std::to_string(line) + ": ";
  }
  return text + (description.empty() ? std::string("success") : description);
}

MxResult MxResult::Fail(MxStatus status, std::string description, std::string file, std::int32_t line) {
  MxResult result;
  result.status = status;
  result.description = std::move(description);
  result.file = std::move(file);
  result.line = line;
  return result;
}

}  // namespace musicxml
