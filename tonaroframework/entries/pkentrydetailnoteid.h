// Entry details that belong to one note of an entry. They are keyed like any
// entry detail (entry number, inci) and carry the note ID of their note in
// their data block; the incis of one kind on an entry follow no note order,
// so a note's detail is found by scanning from inci 0.
#pragma once

#include <cstdint>

#include "tonaroframework/records/pkentrydetail.h"

class PKNote;
class PKNoteEntry;

class __PKEntryDetailNoteID : public __PKEntryDetail {
 public:
  // Writes the note ID into the object's data block.
  virtual void _SetNoteID(std::int16_t noteID) = 0;
  // Answers whether a data block of this kind belongs to that note ID.
  virtual bool _IsNoteMatch(const void* data, std::int16_t noteID) = 0;
  // Sets or clears the flag of the note's entry that announces details of this kind.
  virtual void _SetNoteFlag(PKNote* note, bool on) = 0;
  // Reads that flag.
  virtual bool _GetNoteFlag(PKNote* note) = 0;

  // Answers the inci of the entry's detail of this kind for the note ID, -1
  // when none is found before the first missing inci.
  std::int16_t _ScanForNoteID(PKNoteEntry* entry, std::int16_t noteID);
  // Loads this kind's detail of the note; false when its entry's flag is clear.
  bool LoadAt(PKNote* note);
  // Saves the object's data as this kind's detail of the note, creating it
  // when the note has none; the object takes the key.
  bool SaveAt(PKNote* note);
  // Deletes this kind's detail of the note, clearing the entry's flag when
  // no detail of this kind is left.
  bool EraseAt(PKNote* note);

 protected:
  // SaveAt for a note ID of an entry: overwrites the note's detail or creates
  // one; on success the object takes the key. Nothing changes on failure.
  bool _SaveForNoteID(PKNoteEntry* entry, std::int16_t noteID);
  // LoadAt for a note ID of an entry, without looking at any flag.
  bool _LoadForNoteID(PKNoteEntry* entry, std::int16_t noteID);
};

// The modification of an entry's augmentation dot, here for the dot of a
// rest, whose single note record has note ID 31 in its movable form.
class PKDotMod : public __PKEntryDetailNoteID {
 public:
  static constexpr EXTAG kTag = MakeTag('e', 'd', 'D', 'M');
  static constexpr std::int32_t kRecordSize = 10;
  static constexpr std::int16_t kRestNoteID = 31;

  PKDotMod() { _SetDataBlock(&_record); }

  const char* ClassName() override { return "PKDotMod"; }
  std::int32_t DataSizeLoad() override { return kRecordSize; }
  std::int32_t DataSizeSave() override { return kRecordSize; }
  void* Allocate() override { return &_record; }
  __PKBaseData* CreateObject() override { return new PKDotMod(); }
  EXTAG Tag() override { return kTag; }
  bool CloneMemoryFrom(__PKBaseData* other) override { return _CloneEmbeddedFrom(other, &_record, kRecordSize); }
  void _SetNoteID(std::int16_t noteID) override { _record.noteID = noteID; }
  bool _IsNoteMatch(const void* data, std::int16_t noteID) override;
  // The entry's special alterations flag announces its dot modifications.
  void _SetNoteFlag(PKNote* note, bool on) override;
  bool _GetNoteFlag(PKNote* note) override;

  // Loads the dot modification of a rest; false when the rest's flag says it has none.
  bool LoadRestDotAt(PKNoteEntry* rest);
  // Saves the dot modification of a rest and sets the rest's flag.
  bool SaveRestDotAt(PKNoteEntry* rest);

  // The horizontal and vertical offsets of the dot, in host units.
  std::int16_t GetHorizontalOffset() const { return _record.horizontalOffset; }
  void SetHorizontalOffset(std::int16_t offset) { _record.horizontalOffset = offset; }
  std::int16_t GetVerticalOffset() const { return _record.verticalOffset; }
  void SetVerticalOffset(std::int16_t offset) { _record.verticalOffset = offset; }

 private:
  struct Record {
    std::int16_t noteID;
    std::int16_t horizontalOffset;
    std::int16_t verticalOffset;
    std::uint8_t host[4];
  };
  static_assert(sizeof(Record) == kRecordSize, "dot modification record is 10 bytes");

  Record _record{};
};
