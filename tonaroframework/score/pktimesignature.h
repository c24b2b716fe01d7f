// Time signatures: a plain one is a number of beats and the length of one
// beat in host time units (1024 a quarter note); a composite one (3+2 over 8,
// or groups side by side) keeps its top and its bottom in separate records,
// which the two numbers then name. The composite records of one number are
// loaded into a collection and flattened into one list of entries, numbered
// into groups; top group k pairs with bottom group k.
#pragma once

#include <cstdint>
#include <vector>

#include "tonaroframework/records/pkbasedata.h"
#include "tonaroframework/records/pkcollectiondata.h"
#include "tonaroframework/records/pkother.h"

class PKString;

// A composite record: twelve bytes, six 16-bit words, keyed by the composite
// number (item) and its place in the series (inci).
class __PKCompositeTimeSigElement : public __PKInciOther {
 public:
  static constexpr int kWords = 6;
  static constexpr std::int32_t kRecordSize = kWords * 2;

  __PKCompositeTimeSigElement() { _SetDataBlock(_words); }

  std::int32_t DataSizeLoad() override { return kRecordSize; }
  void* Allocate() override { return _words; }
  bool CloneMemoryFrom(__PKBaseData* other) override { return _CloneEmbeddedFrom(other, _words, kRecordSize); }

  std::uint16_t GetWord(int index) const { return index >= 0 && index < kWords ? _words[index] : 0; }
  // Sets one word; the record then holds all twelve bytes.
  void SetWord(int index, std::uint16_t value);

 private:
  std::uint16_t _words[kWords] = {};
};

// Two top entries (offsets 0, 2, 4 and 6, 8, 10): beats, a second value
// carried along, group start.
class __PKCompositeTimeSigTopElement : public __PKCompositeTimeSigElement {
 public:
  static constexpr EXTAG kTag = 0x6F745455;
  const char* ClassName() override { return "__PKCompositeTimeSigTopElement"; }
  __PKBaseData* CreateObject() override { return new __PKCompositeTimeSigTopElement(); }
  EXTAG Tag() override { return kTag; }
};

// Three bottom entries (offsets 0, 2; 4, 6; 8, 10): duration, group start.
class __PKCompositeTimeSigBottomElement : public __PKCompositeTimeSigElement {
 public:
  static constexpr EXTAG kTag = 0x6F74544C;
  const char* ClassName() override { return "__PKCompositeTimeSigBottomElement"; }
  __PKBaseData* CreateObject() override { return new __PKCompositeTimeSigBottomElement(); }
  EXTAG Tag() override { return kTag; }
};

// One entry of a flattened top: beats, second value, group start.
struct CompositeTopEntry {
  std::int16_t beats = 0;
  std::int16_t second = 0;
  std::int16_t groupStart = 0;
};

// One entry of a flattened bottom: duration, group start.
struct CompositeBottomEntry {
  std::int16_t duration = 0;
  std::int16_t groupStart = 0;
};

class PKCompositeTimeSigTop : public __PKCollectionInciOther {
 public:
  const char* ClassName() override { return "PKCompositeTimeSigTop"; }
  __PKCompositeTimeSigTopElement* CreateElement() override { return new __PKCompositeTimeSigTopElement(); }
  // Writes the flattened list back as the records of the loaded composite number.
  bool SaveAll() override;

  // Loads the records of a composite number and flattens their entries in use.
  void LoadFlattened(std::uint16_t item);

  const std::vector<CompositeTopEntry>& Entries() const { return _entries; }
  std::vector<CompositeTopEntry>& Entries() { return _entries; }
  int GetEntryCount() const { return int(_entries.size()); }
  int GetGroupCount() const;
  int GetGroupElementCount(int group) const;
  // The beats value of element `index` of a group, 0 when missing.
  int GetGroupElementBeats(int group, int index) const;

 private:
  std::vector<CompositeTopEntry> _entries;
};

class PKCompositeTimeSigBottom : public __PKCollectionInciOther {
 public:
  const char* ClassName() override { return "PKCompositeTimeSigBottom"; }
  __PKCompositeTimeSigBottomElement* CreateElement() override { return new __PKCompositeTimeSigBottomElement(); }
  // Writes the flattened list back as the records of the loaded composite number.
  bool SaveAll() override;

  // Loads the records of a composite number and flattens their entries in use.
  void LoadFlattened(std::uint16_t item);

  const std::vector<CompositeBottomEntry>& Entries() const { return _entries; }
  std::vector<CompositeBottomEntry>& Entries() { return _entries; }
  int GetEntryCount() const { return int(_entries.size()); }
  int GetGroupCount() const;
  int GetGroupElementCount(int group) const;
  // The duration of element `index` of a group, 0 when missing.
  int GetGroupElementBeatDuration(int group, int index) const;

 private:
  std::vector<CompositeBottomEntry> _entries;
};

class PKTimeSignature : public __PKBaseData {
 public:
  static constexpr std::int32_t kBlockSize = 6;

  // The block is always present: 4 beats of a quarter note, nothing composite.
  PKTimeSignature() {
    _SetDataBlock(&_block);
    _SetLoadedSize(kBlockSize);
  }
  PKTimeSignature(std::int16_t beats, std::int16_t beatDuration) : PKTimeSignature() {
    _block.beats = beats;
    _block.beatDuration = beatDuration;
  }

  const char* ClassName() override { return "PKTimeSignature"; }
  std::int32_t DataSizeLoad() override { return kBlockSize; }
  void* Allocate() override { return &_block; }
  __PKBaseData* CreateObject() override { return new PKTimeSignature(); }
  // A time signature is not a host record.
  EXTAG Tag() override { return 0; }
  // Copies the four fields of another time signature.
  bool CloneMemoryFrom(__PKBaseData* other) override;
  bool LoadFirst() override { return false; }

  std::int16_t GetBeats() const { return _block.beats; }
  void SetBeats(std::int16_t beats) { _block.beats = beats; }
  std::int16_t GetBeatDuration() const { return _block.beatDuration; }
  void SetBeatDuration(std::int16_t duration) { _block.beatDuration = duration; }
  bool GetCompositeBeats() const { return _block.compositeBeats != 0; }
  void SetCompositeBeats(bool composite) { _block.compositeBeats = composite ? 1 : 0; }
  bool GetCompositeBeatDuration() const { return _block.compositeBeatDuration != 0; }
  void SetCompositeBeatDuration(bool composite) { _block.compositeBeatDuration = composite ? 1 : 0; }

  // A new collection, owned by the caller: the composite top's records,
  // flattened, when the top is composite; empty otherwise.
  PKCompositeTimeSigTop* CreateCompositeTop();
  // The same for the bottom.
  PKCompositeTimeSigBottom* CreateCompositeBottom();

  int CalcBeats();
  int GetLargestBeats();
  int GetLargestBeatDuration();
  int GetSmallestBeatDuration();
  // Whether every beat is a dotted value.
  bool IsCompound();
  // Positions count host time units from the start of the measure.
  bool IsBeatPosition(std::int32_t position);
  // The index of the beat that starts at the position, -1 when none does.
  int CalcBeatPosition(std::int32_t position);
  // The start of the beat before the position (plain) or containing it (composite).
  std::int32_t CalcPrevBeatPosition(std::int32_t position);

  using __PKBase::IsIdentical;
  bool IsIdentical(PKTimeSignature* other);
  // Sets `text` to the printed form ("4/4", "6/8"), "???" without beats or duration.
  void MakeString(PKString* text) const;

 private:
  struct Block {
    std::int16_t beats = 4;
    std::int16_t beatDuration = 1024;
    std::uint8_t compositeBeats = 0;
    std::uint8_t compositeBeatDuration = 0;
  };
  static_assert(sizeof(Block) == kBlockSize, "time signature block is 6 bytes");

  // The start of every beat of a composite top, and the end of the last.
  struct BeatStarts {
    std::vector<std::int32_t> starts;
    std::int32_t end = 0;
  };
  BeatStarts _WalkBeats();

  Block _block;
};
