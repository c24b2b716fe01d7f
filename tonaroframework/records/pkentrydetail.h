// Records attached to one entry of the music ("entry details"): keyed by the
// entry's signed 32-bit entry number and a signed 16-bit inci. An entry's
// details of one tag are its incis 0, 1, 2 and so on.
#pragma once

#include <cstdint>

#include "tonaroframework/records/pkbasedata.h"

class PKNote;
class PKNoteEntry;

class __PKEntryDetail : public __PKBaseData {
 public:
  // Loads the record (entryNumber, inci).
  virtual bool Load(std::int32_t entryNumber, std::int16_t inci);
  // Attaches an entry (not owned) and takes its entry number into the key,
  // 0 when it has no record; the inci is left alone.
  virtual void SetNoteEntry(PKNoteEntry* entry);
  // Stores the loaded record as the next free inci of the attached entry,
  // takes the key the host completed and marks the entry as having details
  // of this class.
  virtual bool SaveNew();
  // Sets (on) or clears the entry's flag for details of this class.
  virtual void _SetEntryFlag(PKNoteEntry* entry, bool on);
  // Loads inci 0 of the attached entry; false without one.
  bool LoadFirst() override;
  // Loads the next inci; on failure the key stays at the last inci that loaded.
  bool LoadNext() override;

  // Writes the record under (entryNumber, inci).
  bool SaveAs(std::int32_t entryNumber, std::int16_t inci);
  // Answers whether the entry of `note` has a record of this class's tag at
  // inci 0, reading it into scratch room; the object is not changed.
  bool _HasAnyMod(PKNote* note);

  // Writes the key of an entry detail: entry number, inci, every other byte 0.
  static void _MakeKey(std::int32_t entryNumber, std::int16_t inci, std::uint8_t (&key)[kKeySize]);

  PKNoteEntry* GetNoteEntry() const { return _entry; }
  std::int32_t GetEntryNumber() const { return _KeySigned32(kEntryOffset); }
  std::int16_t GetInci() const { return _KeySigned16(kInciOffset); }
  // Changes the key's inci, keeping the entry number.
  void _SetInci(std::int16_t inci) { _SetKeySigned16(kInciOffset, inci); }

 protected:
  static constexpr int kEntryOffset = 0;
  static constexpr int kInciOffset = 4;
  // Room for the record that _HasAnyMod reads; no class using it has a larger record.
  static constexpr std::int32_t kScratchSize = 208;

  // Sets the key to (entryNumber, inci), every other byte 0.
  void _SetEntryKey(std::int32_t entryNumber, std::int16_t inci);
  // Sets or clears `mask` in the flag word of the entry's record, if it has one.
  static void _SetEntryFlagBit(PKNoteEntry* entry, std::uint32_t mask, bool on);

 private:
  PKNoteEntry* _entry = nullptr;
};
