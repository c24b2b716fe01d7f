#include "musicxml/mxnote.h"

namespace musicxml {
namespace {

const char kSteps[] = "CDEFGAB";

std::int32_t FloorDiv(std::int32_t value, std::int32_t divisor) {
  const std::int32_t quotient = value / divisor;
  return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

}  // namespace

std::int32_t StepIndex(char step) {
  for (std::int32_t i = 0; i < 7; ++i)
    if (kSteps[i] == step) return i;
  return -1;
}

std::int32_t MxPitch::DiatonicNumber() const { return octave * 7 + StepIndex(step); }

MxPitch MxPitch::FromDiatonic(std::int32_t number, std::int32_t alteration) {
  MxPitch pitch;
  pitch.octave = FloorDiv(number, 7);
  pitch.step = kSteps[number - pitch.octave * 7];
  pitch.alter = alteration;
  return pitch;
}

}  // namespace musicxml
