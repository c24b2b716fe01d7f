// A note entry: the framework's view of one entry record while its frame is
// loaded. Edits go straight into the frame's memory and reach the document
// when the owner of the frame (a layer or a cell) saves it. The notes of the
// entry are its elements, note object i viewing note record i.
#pragma once

#include <cstdint>

#include "tonaroframework/entries/pknote.h"
#include "tonaroframework/foundation/pkcollection.h"
#include "tonaropdk/exentry.h"
#include "tonaropdk/extgf.h"

class PKArticulations;
class PKNotePitches;

class PKNoteEntry : public __PKCollection {
 public:
  // Makes an entry without record or frame; such an entry is not used.
  PKNoteEntry() = default;
  // Makes the view of `record` inside `frame` on `staff` (instrument number); measure from the
  // frame, no neighbours. The caller builds the note objects with _UpdateNoteCollection.
  PKNoteEntry(EXENTRY* record, EXTGF2005a* frame, std::int16_t staff);
  ~PKNoteEntry() override;
  PKNoteEntry(const PKNoteEntry&) = delete;
  PKNoteEntry& operator=(const PKNoteEntry&) = delete;

  // Answers "PKNoteEntry".
  const char* ClassName() override { return "PKNoteEntry"; }

  // Answers the entry record inside its frame; null in a default entry. The record is packed:
  // edit its flag words as values (pkentryflags.h), not through pointers to them.
  EXENTRY* GetRecord() const { return _record; }
  // Answers the entry number; 0 without a record or before the first save.
  std::uint32_t GetEntryNumber() const { return _record != nullptr ? _record->entryNumber : 0; }
  // Answers the duration in host units (0: a null entry).
  std::int16_t GetDuration() const { return _record->duration; }
  // Sets the duration in host units.
  void SetDuration(std::int16_t duration) { _record->duration = duration; }
  // Answers whether the entry is a note entry (its note records are notes).
  bool IsNote() const { return _record != nullptr && (_record->flags & kEntryNoteFlag) != 0; }
  // Answers whether the entry is a rest.
  bool IsRest() const { return !IsNote(); }
  // Answers whether the entry is a grace note.
  bool IsGraceNote() const { return (_record->flags & kEntryGraceFlag) != 0; }
  // Answers whether the entry has articulations.
  bool GetArticulationFlag() const { return (_record->flags & kEntryArticulationFlag) != 0; }
  // Answers whether the entry starts at least one tuplet.
  bool GetTupletStartFlag() const { return (_record->flags & kEntryTupletFlag) != 0; }
  // Answers whether the entry has smart-shape entry marks.
  bool GetSmartShapeFlag() const { return (_record->flags2 & kEntrySmartShapeFlag) != 0; }
  // Answers the elapsed time from the start of the measure.
  std::int32_t GetMeasurePos() const { return _record->measurePos; }
  // Answers the clef in effect at the entry.
  std::int16_t GetClefIndex() const { return _record->clefIndex; }
  // Answers the measure of the frame.
  std::int16_t GetMeasure() const { return _measure; }
  // Answers the staff's instrument number.
  std::int16_t GetStaff() const { return _staff; }
  // Answer the neighbouring entries of the same layer object; null at the ends.
  PKNoteEntry* GetPrevious() const { return _previous; }
  PKNoteEntry* GetNext() const { return _next; }
  // Answers the frame that holds the record.
  EXTGF2005a* GetFrame() const { return _frame; }

  // Rebuilds the note objects from the record; earlier note objects are destroyed.
  void _UpdateNoteCollection();
  // Removes the note records whose note object carries the deletion mark.
  void _PackEXENTRYNotes();
  // Appends a fresh note with an unused note ID; null for a rest or at 12 notes.
  PKNote* AddNewNote();
  // Removes one note (the last one makes the entry a rest); false when the note is not this entry's.
  bool DeleteNote(PKNote* note);
  // Removes every note; the entry stays a note entry or a rest as it was.
  void ClearPitches();
  // Adds a note with the pitch of `pitch`; false for a rest, a null pitch or at 12 notes.
  bool AddPitch(PKNote* pitch);
  // Makes the notes exact copies of the source's notes; duration and flags stay.
  void CopyNotes(PKNoteEntry* source);
  // Leaves exactly one note, a copy of `note` with note ID 1; nothing for a null note.
  void CopyNote(PKNote* note);
  // Makes the entry a note entry whose first note is zeroed.
  void MakeNote();
  // Makes the entry a rest; duration, position, entry number and other flags stay.
  void MakeRest();
  // Gives the entry's single note record the movable-rest form (note ID 31, displacement 0).
  void MakeMovableRest();
  // Answers whether the entry is a rest whose first note record marks it movable.
  bool IsRestMovable() const;
  // Makes the entry a copy of the source (kind, duration, notes) and sets the copy mark.
  void CopyEntry(PKNoteEntry* source);
  // Sets or clears the tie of every note of a note entry.
  void TieAll(bool tie);
  // Shows or hides the accidental of every note of a note entry.
  void SetAccidentals(bool show);
  // Answers a new entry over the same record and frame without neighbours; the caller owns it.
  PKNoteEntry* CreateShallowClone();
  // Answers a new collection of copies of the notes (empty for a rest); the caller owns it.
  PKNotePitches* CreateNotePitches();
  // Answers the position of the record in its frame's entry array; -1 when it is not there.
  int _CalcTGFIndex() const;

  // Answers the lowest note (above `above` when given); null when there is none.
  PKNote* FindLowestNote(PKNote* above);
  // Answers the highest note (below `below` when given); null when there is none.
  PKNote* FindHighestNote(PKNote* below);
  // Answers the lowest note; null for a rest.
  PKNote* CalcLowestNote();
  // Answers the highest note; null for a rest.
  PKNote* CalcHighestNote();
  // Answers the largest displacement of the notes; 0 without notes.
  int CalcHighestDisplacement();
  // Answers the largest minus the smallest displacement; 0 without notes.
  int CalcDisplacementRange();
  // Answers the first note with that displacement; null for a rest or when none has it.
  PKNote* FindDisplacement(std::int16_t displacement);

  // Answers whether a note entry has at least one tied note.
  bool IsTied();
  // Answers whether a note entry has no untied note.
  bool IsAllTied();
  // Answers whether the previous entry of the same layer, at most one measure back, ties into this one.
  bool IsTiedToPrevious();
  // Answers whether the duration is not one of the undotted values 8192, 4096, ..., 4.
  bool IsDotted() const;
  // Answers the number of grace notes just before this one in its measure; -1 for a non-grace entry.
  int CalcGraceNoteIndex() const;
  // Answers whether at least two layers of this staff and measure hold entries; loads and frees frames.
  bool CalcMultiLayeredCell() const;
  // Answers whether a tuplet of the frame starts at this entry (copied into `info` when given).
  bool IsStartOfTuplet(TupletInfo* info) const;
  // Answers whether a tuplet of the frame spans this entry (copied into `info` when given).
  bool IsPartOfTuplet(TupletInfo* info) const;
  // Copies the record of the tuplet with that inci that starts at this entry,
  // as the frame holds it, into `out`; false when no such tuplet starts here.
  bool _GetTupletDef(std::int16_t inci, EDTTuplet2005* out) const;

  // Loads the entry's articulations into its articulation cache; an entry
  // without articulations keeps the cache it had.
  void CacheArticulations();
  // Answers the articulation cache, or null.
  PKArticulations* GetArticulationCache() const { return _articulationCache; }
  // Saves copies of the source entry's articulations (its cache when it has
  // one) as further articulations of this entry, after those it has; with
  // `skipExisting`, not those whose definition this entry carries already.
  // Sets the articulation flag when any was added; answers how many.
  int AddArticulations(PKNoteEntry* source, bool skipExisting);

  // The layer and cell collections set the links and rebind entries to reloaded records.
  void _SetPrevious(PKNoteEntry* previous) { _previous = previous; }
  void _SetNext(PKNoteEntry* next) { _next = next; }
  // Points the entry at `record` of `frame` (measure from the frame) and rebuilds its notes.
  void _Rebind(EXTGF2005a* frame, EXENTRY* record);

  // Answers the staff of a frame: its slot converted in the frame's staff list.
  static std::int16_t _CalcFrameStaff(const EXTGF2005a* frame);

 private:
  PKNote* _NoteAt(int index) const;
  // Zeroes note record 0, appends its note object and sets the note count to 1.
  void _AddFirstNoteRecord();
  // Answers whether `other` is this entry's record, or a record with its (non-zero) entry number.
  bool _IsSameEntry(const EXENTRY& other) const;

  EXENTRY* _record = nullptr;
  EXTGF2005a* _frame = nullptr;
  std::int16_t _measure = 0;
  std::int16_t _staff = 0;
  PKNoteEntry* _previous = nullptr;
  PKNoteEntry* _next = nullptr;
  PKArticulations* _articulationCache = nullptr;  // owned
};
