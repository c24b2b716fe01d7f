#include "tonaropdk/cleantgf.h"

#include <cstring>

bool CanAddNoteRecordToRests = true;

namespace {

// Bits 16 to 20 of the note flags carry the low five bits of the note ID.
constexpr std::uint32_t kNoteIDShift = 16;
// Note flags of the one note record a rest is given.
constexpr std::uint32_t kRestRecordNoteFlags = 0x80000000;

// Answers whether a note other than `index` carries the same ID.
bool SharesID(const EXENTRY& entry, std::int16_t count, std::int16_t index) {
  for (std::int16_t other = 0; other < count; ++other)
    if (other != index && entry.notes[other].noteID == entry.notes[index].noteID) return true;
  return false;
}

void CleanEntry(EXENTRY& entry) {
  // A count outside 0..12 is never trusted to address memory.
  std::int16_t count = entry.noteCount;
  if (count < 0) count = 0;
  if (count > kMaxEntryNotes) count = kMaxEntryNotes;

  // Notes without an ID, and all but the last of notes sharing one, take the
  // next ID above the largest so far (negative IDs never raise it).
  std::int16_t top = 0;
  for (std::int16_t n = 0; n < count; ++n)
    if (entry.notes[n].noteID > top) top = entry.notes[n].noteID;
  for (std::int16_t n = 0; n < count; ++n) {
    EXNOTE& note = entry.notes[n];
    if (note.noteID == 0 || SharesID(entry, count, n)) note.noteID = ++top;
  }

  for (std::int16_t n = 0; n < count; ++n) {
    EXNOTE& note = entry.notes[n];
    note.flags = (note.flags & ~kNoteIDBitsMask) | ((std::uint32_t(note.noteID) << kNoteIDShift) & kNoteIDBitsMask);
  }

  if (count < kMaxEntryNotes)
    std::memset(static_cast<void*>(&entry.notes[count]), 0, sizeof(EXNOTE) * std::size_t(kMaxEntryNotes - count));

  if (entry.noteCount == 0 && CanAddNoteRecordToRests) {
    entry.flags |= kEntryRestRecordFlag;
    entry.noteCount = 1;
    entry.notes[0].flags = kRestRecordNoteFlags;
  }
}

}  // namespace

void CleanTGF(EXTGF2005a* frame) {
  if (frame == nullptr || frame->entries == nullptr) return;
  for (std::int16_t i = 0; i < frame->entryCount; ++i) CleanEntry(frame->entries[i]);
}
