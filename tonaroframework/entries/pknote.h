// A note of an entry: a view of one 10-byte note record inside an entry
// record that lies in a loaded entry frame.
#pragma once

#include <cstdint>

#include "tonaroframework/foundation/pkbase.h"
#include "tonaropdk/exentry.h"

class PKNoteEntry;

class PKNote : public __PKBase {
 public:
  // Makes the view of `record`, the note record at `index` of `entry` (null for a detached pitch).
  PKNote(EXNOTE* record, std::int32_t index, PKNoteEntry* entry);

  // Answers "PKNote".
  const char* ClassName() override { return "PKNote"; }

  // Answers the vertical position in diatonic steps.
  std::int16_t GetDisplacement() const { return _record->displacement; }
  // Sets the vertical position in diatonic steps.
  void SetDisplacement(std::int16_t displacement) { _record->displacement = displacement; }
  // Answers the chromatic alteration in semitones.
  std::int16_t GetRaiseLower() const { return _record->raiseLower; }
  // Sets the chromatic alteration in semitones.
  void SetRaiseLower(std::int16_t raiseLower) { _record->raiseLower = raiseLower; }
  // Answers the note's ID within its entry (0 for a record not yet given one).
  std::int16_t GetNoteID() const { return _record->noteID; }
  // Answers whether the note is tied to the following note.
  bool GetTie() const { return (_record->flags & kNoteTieFlag) != 0; }
  // Sets or clears the tie to the following note.
  void SetTie(bool tie);

  // Answers the owning entry; null for a detached pitch.
  PKNoteEntry* GetEntry() const { return _entry; }
  // Answers the position of the note record in its entry.
  std::int32_t GetIndex() const { return _index; }
  // Answers the note record this note views.
  EXNOTE* GetNoteRecord() const { return _record; }

  // Answers true when this note is higher: a greater displacement, or an equal one with a greater alteration.
  bool IsHigherPitchThan(PKNote* other) const;
  // Answers true when this note is lower: a smaller displacement, or an equal one with a smaller alteration.
  bool IsLowerPitchThan(PKNote* other) const;

  // Answers the owning entry's entry number; 0 without an entry or record.
  std::uint32_t _GetEntryNumber() const;

  // Set, clear or read one detail bit of the owning entry's flag word; nothing (false) without an entry.
  void _SetNoteDetailEntryFlag(bool on) { _SetEntryFlag(kEntryNoteDetailFlag, on); }
  bool _GetNoteDetailEntryFlag() const { return _GetEntryFlag(kEntryNoteDetailFlag); }
  void _SetSpecialAltsEntryFlag(bool on) { _SetEntryFlag(kEntrySpecialAltsFlag, on); }
  bool _GetSpecialAltsEntryFlag() const { return _GetEntryFlag(kEntrySpecialAltsFlag); }
  void _SetPerformanceDataEntryFlag(bool on) { _SetEntryFlag(kEntryPerformanceFlag, on); }
  bool _GetPerformanceDataEntryFlag() const { return _GetEntryFlag(kEntryPerformanceFlag); }
  void _SetArticulationEntryFlag(bool on) { _SetEntryFlag(kEntryArticulationFlag, on); }

 protected:
  // Points the view at another record (a detached pitch points at its own copy).
  void _SetNoteRecord(EXNOTE* record) { _record = record; }

 private:
  friend class PKNoteEntry;  // sets and reads the deletion mark

  void _SetEntryFlag(std::uint32_t mask, bool on);
  bool _GetEntryFlag(std::uint32_t mask) const;

  bool _deletionMark = false;
  std::int32_t _index;
  EXNOTE* _record;
  PKNoteEntry* _entry;
};
