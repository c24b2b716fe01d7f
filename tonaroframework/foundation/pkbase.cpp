#include "tonaroframework/foundation/pkbase.h"

bool __PKBase::IsIdentical(__PKBase*) { return true; }

void __PKBase::Set16BitFlag(std::uint16_t* word, std::uint16_t mask, bool on) {
  if (word == nullptr) return;
  if (on)
    *word = std::uint16_t(*word | mask);
  else
    *word = std::uint16_t(*word & ~mask);
}

void __PKBase::Set32BitFlag(std::uint32_t* word, std::uint32_t mask, bool on) {
  if (word == nullptr) return;
  if (on)
    *word |= mask;
  else
    *word &= ~mask;
}
