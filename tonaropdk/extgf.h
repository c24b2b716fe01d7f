// The host's entry frame EXTGF2005a (one layer of one staff in one measure),
// its tuplet items and the tuplet record, in the host's packed layout.
// Offsets that involve pointers match the host on 32-bit builds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tonaropdk/exentry.h"

#pragma pack(push, 1)

// The tuplet record of an entry (30 bytes). Where the ratio lies is the host's.
struct EDTTuplet2005 {
  std::uint8_t host00[8];
  std::uint16_t appearance;  // 0x08: bit 0x0010 second part of the appearance mode
  std::uint8_t host0a[8];
  std::uint16_t flags;       // 0x12: number style 0x000F, placement 0x0070, shape 0x3000, appearance 0x8000
  std::uint8_t host14[10];
};

// One tuplet of a frame (40 bytes).
struct TupletInfo {
  std::int16_t firstEntry;  // index of the tuplet's first entry in the frame's entry array
  std::int16_t lastEntry;   // index of its last entry
  std::int16_t inci;        // its number among the tuplets that start at its first entry
  std::uint8_t host06[4];
  EDTTuplet2005 tuplet;     // 0x0a
};

// The entries of one layer of one staff in one measure. The host allocates
// it; bytes from 26 on (on 32-bit hosts) are the host's.
struct EXTGF2005a {
  std::uint16_t staffList;  // 0: list in which the slot counts (0: the document's own)
  std::int16_t slot;        // 2: slot of the staff
  std::uint8_t host04[2];
  std::int16_t measure;     // 6
  std::int16_t layer;       // 8: layer index, 0 is the first layer
  std::uint8_t host0a[4];
  EXENTRY* entries;         // 14: entry records in time order
  std::int16_t entryCount;  // 18 on 32-bit hosts
  TupletInfo* tuplets;      // 20 on 32-bit hosts
  std::int16_t tupletCount; // 24 on 32-bit hosts
};

#pragma pack(pop)

static_assert(sizeof(EDTTuplet2005) == 30, "tuplet record is 30 bytes");
static_assert(offsetof(EDTTuplet2005, appearance) == 0x08 && offsetof(EDTTuplet2005, flags) == 0x12,
              "tuplet record layout");
static_assert(sizeof(TupletInfo) == 40 && offsetof(TupletInfo, tuplet) == 10, "tuplet item layout");
static_assert(offsetof(EXTGF2005a, slot) == 2 && offsetof(EXTGF2005a, measure) == 6 &&
                  offsetof(EXTGF2005a, layer) == 8 && offsetof(EXTGF2005a, entries) == 14,
              "entry frame layout");
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(EXTGF2005a, entryCount) == 18 && offsetof(EXTGF2005a, tuplets) == 20 &&
                  offsetof(EXTGF2005a, tupletCount) == 24 && sizeof(EXTGF2005a) == 26,
              "entry frame layout of 32-bit hosts");
#endif
