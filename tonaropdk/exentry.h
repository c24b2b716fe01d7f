// The host's entry record EXENTRY and the note records inside it, in the
// host's packed layout. Bytes the library does not interpret are carried as
// byte arrays.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One note of an entry (10 bytes).
struct EXNOTE {
  std::int16_t displacement;  // diatonic steps from the tonic of the key in effect
  std::int16_t raiseLower;    // chromatic alteration in semitones
  std::int16_t noteID;        // 1 and up; 0 not yet given; 31 in a rest's record: movable rest
  std::uint32_t flags;        // note flags, below
};

// Maximum number of note records of an entry.
constexpr std::int16_t kMaxEntryNotes = 12;

// One rhythmic event of a layer in a measure (146 bytes).
struct EXENTRY {
  std::uint32_t entryNumber;  // 0x00: the host's identity; 0 until first saved
  std::int16_t duration;      // 0x04: note value in host units; 0 marks a null entry
  std::uint8_t host06[2];     // 0x06
  std::uint32_t flags;        // 0x08: entry flags, below
  std::uint16_t flags2;       // 0x0c: second flag word, below
  std::int16_t noteCount;     // 0x0e: note records in use, 0 to 12
  EXNOTE notes[kMaxEntryNotes];  // 0x10
  std::int32_t measurePos;    // 0x88: elapsed time from the start of the measure
  std::uint8_t host8c[4];     // 0x8c
  std::int16_t clefIndex;     // 0x90: clef in effect at the entry
};

#pragma pack(pop)

static_assert(sizeof(EXNOTE) == 10, "note record is 10 bytes");
static_assert(offsetof(EXNOTE, raiseLower) == 2 && offsetof(EXNOTE, noteID) == 4 &&
                  offsetof(EXNOTE, flags) == 6,
              "note record layout");
static_assert(sizeof(EXENTRY) == 146, "entry record is 146 bytes");
static_assert(offsetof(EXENTRY, duration) == 0x04 && offsetof(EXENTRY, flags) == 0x08 &&
                  offsetof(EXENTRY, flags2) == 0x0c && offsetof(EXENTRY, noteCount) == 0x0e &&
                  offsetof(EXENTRY, notes) == 0x10 && offsetof(EXENTRY, measurePos) == 0x88 &&
                  offsetof(EXENTRY, clefIndex) == 0x90,
              "entry record layout");

// Bits of EXENTRY::flags.
enum : std::uint32_t {
  kEntryCopyMark = 0x80000000,          // set on the target of a copied entry
  kEntryNoteFlag = 0x40000000,          // a note entry; clear: a rest
  kEntryRestRecordFlag = 0x01000000,    // a rest given its one note record on normalisation
  kEntryGraceFlag = 0x00800000,         // a grace note
  kEntryNoteDetailFlag = 0x00400000,    // has note detail records
  kEntryArticulationFlag = 0x00200000,  // has articulations
  kEntryDetailFlag = 0x00100000,        // a further detail flag, cleared on copy
  kEntryTupletFlag = 0x00080000,        // starts at least one tuplet
  kEntryPerformanceFlag = 0x00020000,   // has performance data
  kEntryFillerRestMark = 0x00008000,    // a rest the explode command made outside the selection
  kEntryDetailFlag4000 = 0x00004000,    // further detail flags, cleared on copy
  kEntrySpecialAltsFlag = 0x00001000,   // has special alterations
  kEntryDetailFlag0400 = 0x00000400,
  kEntryDetailFlag0080 = 0x00000080,
  kEntryDetailFlag0040 = 0x00000040,
};

// Bits of EXENTRY::flags2.
enum : std::uint16_t {
  kEntrySmartShapeFlag = 0x0020,      // has smart-shape entry marks
  kEntryLedgerExemption = 0x0040,     // never counts as on a ledger line
};

// Bits of EXNOTE::flags.
enum : std::uint32_t {
  kNoteCreatedFlag = 0x80000000,     // set on every note record the framework creates
  kNoteTieFlag = 0x40000000,         // tied to the following note
  kNoteAccidentalFlag = 0x01000000,  // accidental shown
  kNoteIDBitsMask = 0x001F0000,      // low five bits of the note ID
};

// Note ID that marks the one note record of a rest as a movable rest.
constexpr std::int16_t kMovableRestNoteID = 31;
