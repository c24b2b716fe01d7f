// One layer of one staff over a range of measures: one entry frame per
// measure, its entries presented as one list linked across measures. The
// layer owns its frames and its entry objects.
#pragma once

#include <cstdint>
#include <vector>

#include "tonaroframework/entries/pknoteentries.h"
#include "tonaroframework/entries/pknoteentrycollection.h"
#include "tonaroframework/foundation/pkbase.h"
#include "tonaropdk/extgf.h"

class PKIteratorHandler;
class PKMusicRegion;

// A work item of DeleteAllNullEntries: an entry to delete, its frame and its entry number.
class _PKNoteEntryErase : public __PKBase {
 public:
  _PKNoteEntryErase(PKNoteEntry* erased, EXTGF2005a* holder, std::uint32_t number)
      : entry(erased), frame(holder), entryNumber(number) {}

  PKNoteEntry* entry;
  EXTGF2005a* frame;
  std::uint32_t entryNumber;
};

class PKNoteEntryLayer : public __PKNoteEntryCollection {
 public:
  // Names layer index `layer` (0 is the user's layer 1) of `staff` from `startMeasure` (below 1: 1)
  // to `endMeasure` (-1 or past the document's last measure: the last); loads nothing.
  PKNoteEntryLayer(std::int16_t layer, std::int16_t staff, std::int16_t startMeasure, std::int16_t endMeasure);
  // Destroys the entries and frees every frame still held.
  ~PKNoteEntryLayer() override;
  PKNoteEntryLayer(const PKNoteEntryLayer&) = delete;
  PKNoteEntryLayer& operator=(const PKNoteEntryLayer&) = delete;

  // Answers "PKNoteEntryLayer".
  const char* ClassName() override { return "PKNoteEntryLayer"; }

  // Answer the layer's identity and range.
  std::int16_t GetLayer() const { return _layer; }
  std::int16_t GetStaff() const { return _staff; }
  std::int16_t GetStartMeasure() const { return _startMeasure; }
  std::int16_t GetEndMeasure() const { return _endMeasure; }
  // Answers whether loads skip a layer the host does not show (true from construction on).
  bool GetShownLayersOnly() const { return _shownLayersOnly; }
  // Sets whether loads skip a layer the host does not show.
  void SetShownLayersOnly(bool shownOnly) { _shownLayersOnly = shownOnly; }
  // Answers the number of frame slots: the measures of the range after a successful load, else 0.
  std::int32_t GetFrameCount() const { return std::int32_t(_frames.size()); }
  // Answers the frame of slot `index` (measure start + index); null when not loaded or out of range.
  EXTGF2005a* GetFrame(int index) const;

  // Loads one frame per measure and builds the entries; false, holding nothing, for an empty range
  // or when a frame cannot be loaded.
  bool Load();
  // Saves every loaded frame, reloading those that received new entries; false when a save failed.
  bool Save();
  // Answers a new layer (the caller owns it) naming `layer` of `staff` from `startMeasure` over as
  // many measures, whose frames hold copies of this layer's entries as the document holds them;
  // the clone is empty when its load failed.
  PKNoteEntryLayer* CreateCloneEntries(std::int16_t layer, std::int16_t staff, std::int16_t startMeasure);
  // Gives each entry of this layer the tuplets that start at the entry of the same index in
  // `source` (saved under this layer's entry numbers) and sets or clears its tuplet flag in
  // memory; false, saving nothing, when the two layers differ in size.
  bool CloneTuplets(PKNoteEntryLayer* source);
  // Loads the target frames, copies this layer's document entries into them and renames the layer
  // to the target; false, holding nothing, when a frame cannot be loaded or filled.
  bool _LoadRedir(std::int16_t layer, std::int16_t staff, std::int16_t startMeasure);
  // Appends the entries of every loaded frame, linked across measures.
  void _SetupEntries();
  // Reloads one saved frame of this layer and rebinds its entries; answers the frame now held
  // (the old one when the reload failed or `frame` is not this layer's).
  EXTGF2005a* _SilentTGFUpdate(EXTGF2005a* frame);
  // Deletes every entry of duration 0 and rebuilds the entries; false, deleting nothing, when an
  // entry is unsaved (entry number 0).
  bool DeleteAllNullEntries();
  // Inserts `count` blank entries just before `entry` in its measure; answers the first, or null
  // (nothing changed) when the entry is not this layer's or the host refuses.
  PKNoteEntry* InsertEntriesBefore(PKNoteEntry* entry, int count);
  // Inserts `count` blank entries just after `entry`, or at the start of the next measure's frame
  // when `nextMeasure` (the entry must then be the last of its measure); with no entry, no entries
  // and not `nextMeasure`, at the front of the first frame. Answers the first, or null.
  PKNoteEntry* InsertEntriesAfter(PKNoteEntry* entry, int count, bool nextMeasure);
  // Answers the host's duration of the frame of `measure`; 0 outside the range or without a frame.
  int CalcFrameDuration(int measure);
  // Answers how many entries lie within the region; 0 without a region.
  int CalcRegionCount(PKMusicRegion* region);
  // Answers the index-th entry (from 0) among those within the region; null when there is none.
  PKNoteEntry* GetRegionItemAt(int index, PKMusicRegion* region);
  // Calls Iterate for each entry within the region until one answers false; answers the true answers.
  int ForEachInRegion(PKIteratorHandler* handler, PKMusicRegion* region);
  // Answers new shallow clones of the entries within the region, linked to each other; the caller
  // owns the list (empty without a region).
  PKNoteEntries* CreateRegionEntries(PKMusicRegion* region);

 private:
  void _FreeFrames();
  // Empties the layer after a failed load.
  bool _FailLoad();
  // Answers the slot holding `frame`; -1 when it is not this layer's.
  int _FindFrameSlot(const EXTGF2005a* frame) const;
  // Reloads the frame of `slot` and rebinds `entries` (those of that frame) to the fresh records.
  EXTGF2005a* _ReloadFrame(int slot, const std::vector<PKNoteEntry*>& entries);
  // Answers the entries of each frame slot, in layer order, from one walk over the layer.
  std::vector<std::vector<PKNoteEntry*>> _GroupEntriesBySlot();
  // Makes `count` blank entries over records first.. of `frame`, inserted into the list from
  // `listIndex` and linked from `previous`; answers the first.
  PKNoteEntry* _InsertNewEntries(EXTGF2005a* frame, int first, int count, int listIndex, PKNoteEntry* previous);

  std::int16_t _layer;
  std::int16_t _staff;
  std::int16_t _startMeasure;
  std::int16_t _endMeasure;
  bool _shownLayersOnly = true;
  std::vector<EXTGF2005a*> _frames;
};
