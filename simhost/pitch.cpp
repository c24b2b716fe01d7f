#include "simhost/pitch.h"

#include <cctype>

namespace simhost {
namespace {

constexpr std::int32_t kMiddleCDiatonic = 28;  // C4 counted in diatonic steps from C0
constexpr const char* kSteps = "CDEFGAB";

std::int32_t StepIndex(char step) {
  for (std::int32_t i = 0; i < 7; ++i)
    if (kSteps[i] == step) return i;
  return -1;
}

bool IsStandardKey(std::uint16_t key) { return (key & 0xC000) == 0 && (key >> 8) <= 1; }

std::int32_t Fifths(std::uint16_t key) { return IsStandardKey(key) ? std::int8_t(key & 0xFF) : 0; }

bool IsMinor(std::uint16_t key) { return IsStandardKey(key) && (key >> 8) == 1; }

std::int32_t FloorDiv(std::int32_t a, std::int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

std::uint16_t MakeKeyValue(std::int32_t fifths, bool minor) {
  return std::uint16_t((minor ? 0x0100 : 0) | (std::uint8_t(std::int8_t(fifths))));
}

std::int32_t KeyTonicSteps(std::uint16_t key) {
  const std::int32_t fifths = Fifths(key);
  // Steps from C to the major tonic: a fifth (4 steps) per sharp, a fourth
  // (3 steps) per flat; seven flats reach C flat an octave up, as the host counts.
  std::int32_t steps = 0;
  if (fifths > 0) steps = (4 * fifths) % 7;
  if (fifths < 0) steps = 7 - (4 * -fifths) % 7;
  if (IsMinor(key)) {
    steps -= 2;  // the relative minor's tonic lies a third below
    if (steps < 0) steps += 7;
  }
  return steps;
}

std::int32_t KeyAlterationOf(std::uint16_t key, char step) {
  const std::int32_t fifths = Fifths(key);
  const std::int32_t index = StepIndex(step);
  if (index < 0 || fifths == 0) return 0;
  // Sharps come in the order F C G D A E B, flats in the reverse order.
  static const char kSharpOrder[] = "FCGDAEB";
  for (std::int32_t i = 0; i < 7; ++i) {
    const char letter = fifths > 0 ? kSharpOrder[i] : kSharpOrder[6 - i];
    if (letter == step) return (i < (fifths > 0 ? fifths : -fifths)) ? (fifths > 0 ? 1 : -1) : 0;
  }
  return 0;
}

EXNOTE NoteFromPitch(const Pitch& pitch, std::uint16_t key) {
  EXNOTE note{};
  const std::int32_t diatonic = pitch.octave * 7 + StepIndex(pitch.step);
  note.displacement = std::int16_t(diatonic - kMiddleCDiatonic - KeyTonicSteps(key));
  note.raiseLower = std::int16_t(pitch.alter - KeyAlterationOf(key, pitch.step));
  return note;
}

Pitch PitchFromNote(const EXNOTE& note, std::uint16_t key) {
  const std::int32_t diatonic = note.displacement + kMiddleCDiatonic + KeyTonicSteps(key);
  Pitch pitch;
  pitch.octave = std::int16_t(FloorDiv(diatonic, 7));
  pitch.step = kSteps[diatonic - 7 * pitch.octave];
  pitch.alter = std::int16_t(note.raiseLower + KeyAlterationOf(key, pitch.step));
  return pitch;
}

bool ParsePitch(const std::string& text, Pitch* pitch) {
  if (text.empty() || StepIndex(text[0]) < 0) return false;
  std::size_t at = 1;
  std::int16_t alter = 0;
  while (at < text.size() && (text[at] == '#' || text[at] == 'b')) alter += text[at++] == '#' ? 1 : -1;
  if (at >= text.size()) return false;
  std::int32_t octave = 0;
  for (; at < text.size(); ++at) {
    if (!std::isdigit(static_cast<unsigned char>(text[at])) || octave > 100) return false;
    octave = octave * 10 + (text[at] - '0');
  }
  pitch->step = text[0];
  pitch->alter = alter;
  pitch->octave = std::int16_t(octave);
  return true;
}

std::string PitchText(const Pitch& pitch) {
  std::string text(1, pitch.step);
  for (std::int16_t i = 0; i < pitch.alter; ++i) text += '#';
  for (std::int16_t i = 0; i > pitch.alter; --i) text += 'b';
  return text + std::to_string(pitch.octave);
}

}  // namespace simhost
