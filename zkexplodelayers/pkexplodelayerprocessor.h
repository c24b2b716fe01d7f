// The "Explode Layers" command: spreads the chords of layer 1 over new layers
// on every eligible staff of the selected region.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "tonaroframework/foundation/pkbase.h"

class PKMusicRegion;
class PKNoteEntry;
class PKNoteEntryLayer;

class PKExplodeLayerProcessor : public __PKBase {
 public:
  // The processor works on `region`, which it does not own.
  explicit PKExplodeLayerProcessor(PKMusicRegion* region);

  // Processes every staff of the region; answers true.
  bool SplitChord();
  // The check made before the staves are walked; accepts every region.
  bool VerifyRegion();
  // Processes one staff, given by its instrument number; a staff that does
  // not qualify, or that the host cannot serve completely, is left untouched.
  void ProcessStaff(std::int16_t staff);
  // Answers the largest note count of a note entry of the source layer, 0 without one.
  std::int32_t ScanLargestChord();
  // Gives each entry of a new layer its note or rest, taken from the source layer.
  void AdjustLayerNotes(PKNoteEntryLayer* layer);
  // Completes a new layer: its notes, its first save, the tuplets of layer 1,
  // and the entries outside the region; answers false when the first save failed.
  bool PostProcessLayer(PKNoteEntryLayer* layer);
  // Reads the two options from the shared settings file.
  void LoadUserOptions();

  bool GetDuplicateUnisons() const { return _duplicateUnisons; }
  bool GetCenterRests() const { return _centerRests; }

 private:
  // Answers whether the staff's layers of index 1 and up are empty in every
  // measure of the range, whether the host shows them or not; false when a
  // frame cannot be loaded.
  bool _OtherLayersEmpty(std::int16_t staff, std::int16_t layerCount, std::int16_t startMeasure,
                         std::int16_t endMeasure);
  // Decides once for every entry of the source layer whether it lies within
  // the region, so that every layer sees the same answer; answers whether any does.
  bool _FindSourceEntriesInRegion();
  // Answers whether source entry `index` lies within the region.
  bool _IsSourceEntryInRegion(std::int32_t index) const;
  // Sets the mark of a rest made outside the region.
  static void _MarkFillerRest(PKNoteEntry* entry);
  // Gives the new layer copies of the entry-attached smart shapes that start
  // at source entry `index`, between the new entries at the same indexes.
  void _CarrySmartShapes(PKNoteEntryLayer* layer, std::int32_t index);
  // Answers the index of the first source entry with that entry number, or -1.
  std::int32_t _FindSourceEntry(std::int32_t entryNumber);
  // Answers whether the option's key is set to exactly "1" in the options file.
  static bool _ReadOption(const char* key);

  bool _duplicateUnisons = false;
  bool _centerRests = false;
  PKMusicRegion* _region = nullptr;
  PKNoteEntryLayer* _sourceLayer = nullptr;
  std::vector<bool> _sourceInRegion;
  // Source entry index by entry number (the first entry with it), made on first use per staff.
  std::unordered_map<std::int32_t, std::int32_t> _sourceIndexByEntry;
};
