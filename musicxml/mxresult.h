// The outcome of reading or writing a score: a status, the place it refers
// to (file and line, when there is one) and a description for people.
#pragma once

#include <cstdint>
#include <string>

namespace musicxml {

enum class MxStatus {
  kOk,
  kFileNotFound,   // the input file cannot be opened
  kReadError,      // the input file cannot be read
  kNotXml,         // not well-formed XML (also: truncated)
  kWrongRoot,      // XML, but not a score-partwise document
  kNotZip,         // a compressed score that is not a zip archive
  kBadArchive,     // a zip archive without a readable score in it
  kBadValue,       // a value the format does not allow (a duration of 0, an unknown step...)
  kUnsupported,    // valid MusicXML that the host cannot hold
  kTooManyLayers,  // more voices on one staff than the host has layers
  kHostError,      // the substitute host refused a change
  kWriteError,     // the output cannot be written
};

// What went wrong, and where; a default-constructed result is success.
struct MxResult {
  MxStatus status = MxStatus::kOk;
  std::string file;         // the file concerned, empty when none
  std::int32_t line = 0;    // 1-based line in that file, 0 when unknown
  std::string description;  // what happened, for people

  explicit operator bool() const { return status == MxStatus::kOk; }

  // Answers "file:line: description" (parts that are unknown are left out).
  std::string Message() const;

  // Answers a failed result with that status, place and description.
  static MxResult Fail(MxStatus status, std::string description, std::string file = std::string(),
                       std::int32_t line = 0);
};

}  // namespace musicxml
