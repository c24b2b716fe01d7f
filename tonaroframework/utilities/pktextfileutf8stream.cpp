#include "tonaroframework/utilities/pktextfileutf8stream.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace {

constexpr int kMaxSequenceBytes = 4;
constexpr int kWideUnits = 8192;

bool IsContinuation(int byte) { return (byte & 0xC0) == 0x80; }

// Number of bytes of the sequence a lead byte begins; 0 for anything else.
int SequenceLength(int lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// When the piece ends inside a character, reads the continuation bytes that
// complete it, so that the character is not lost on both sides of the cut.
// Answers the new byte count.
int CompleteLastCharacter(std::FILE* file, unsigned char* bytes, int count) {
  int lead = count - 1;
  while (lead > 0 && count - lead < kMaxSequenceBytes && IsContinuation(bytes[lead])) --lead;
  const int missing = SequenceLength(bytes[lead]) - (count - lead);
  for (int i = 0; i < missing; ++i) {
    const int next = std::fgetc(file);
    if (next == EOF) break;
    if (!IsContinuation(next)) {
      std::ungetc(next, file);
      break;
    }
    bytes[count++] = static_cast<unsigned char>(next);
  }
  return count;
}

}  // namespace

PKString* PKTextFileUTF8Stream::ReadString() {
  std::FILE* file = _GetFile();
  if (file == nullptr) return nullptr;
  unsigned char bytes[kPieceBytes + kMaxSequenceBytes];
  int count = 0;
  while (count < kPieceBytes) {
    const int byte = std::fgetc(file);
    if (byte == EOF) break;
    bytes[count++] = static_cast<unsigned char>(byte);
    if (byte == '\n') break;
  }
  if (count == 0) return nullptr;
  if (count == kPieceBytes && bytes[count - 1] != '\n') count = CompleteLastCharacter(file, bytes, count);

  std::unique_ptr<PKString> line(new PKString);
  char16_t wide[kWideUnits];
  const std::int32_t units = platform::MultiByteToWideChar(
      platform::kCodePageUtf8, 0, reinterpret_cast<const char*>(bytes), count, wide, kWideUnits);
  // A failed conversion (invalid UTF-8) leaves the string empty.
  std::vector<std::int16_t> converted(std::size_t(units > 0 ? units : 0));
  for (std::size_t i = 0; i < converted.size(); ++i) converted[i] = static_cast<std::int16_t>(wide[i]);
  line->AppendUnits(converted.data(), int(converted.size()));
  return line.release();
}
