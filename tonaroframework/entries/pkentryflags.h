// Flag edits on the host's packed entry and note records. Their flag words
// lie at unaligned addresses (records of 146 and 10 bytes follow each other),
// so they are read and written as values, never through a uint32_t pointer.
#pragma once

#include <cstdint>

// Answers `word` with every bit of `mask` set (on) or cleared (off).
constexpr std::uint32_t WithEntryFlag(std::uint32_t word, std::uint32_t mask, bool on) {
  return on ? (word | mask) : (word & ~mask);
}
