#include "zkexplodelayers/pkexplodelayerprocessor.h"

#include <memory>
#include <vector>

#include "tonaropdk/exentry.h"
#include "tonaropdk/hkservices.h"
#include "tonaroframework/entries/pknoteentry.h"
#include "tonaroframework/entries/pknoteentrylayer.h"
#include "tonaroframework/score/pkmusicregion.h"
#include "tonaroframework/smartshapes/pksmartshape.h"
#include "tonaroframework/utilities/pksettingspair.h"
#include "zkexplodelayers/zkoptions.h"

namespace {

// The command never makes more layers than this, whatever the host offers.
constexpr std::int32_t kLargestChordExploded = 4;

using LayerPointer = std::unique_ptr<PKNoteEntryLayer>;

// The options' keys in the settings file; the first is spelled without the E
// after EXPLOD.
constexpr const char* kDuplicateUnisonsKey = "ZKEXPLODLAYERS_DUPLICATE_UNISONS";
constexpr const char* kCenterRestsKey = "ZKEXPLODELAYERS_CENTER_RESTS";

}  // namespace

PKExplodeLayerProcessor::PKExplodeLayerProcessor(PKMusicRegion* region) : _region(region) {}

bool PKExplodeLayerProcessor::VerifyRegion() { return true; }

bool PKExplodeLayerProcessor::SplitChord() {
  if (_region == nullptr || !VerifyRegion()) return true;
  EREGION selection;
  _region->GetZorvanRegion(&selection);
  // The end slot is read again before each step, as the region may change.
  for (std::int16_t slot = selection.startSlot;; ++slot) {
    _region->GetZorvanRegion(&selection);
    if (slot > selection.endSlot) break;
    ProcessStaff(HK_SlotToInst(slot, selection.startStaffList, kTonaroFrameworkVersion));
    if (slot == INT16_MAX) break;
  }
  return true;
}

void PKExplodeLayerProcessor::ProcessStaff(std::int16_t staff) {
  const std::int16_t layerCount = HK_GetMaxLayers(kTonaroFrameworkVersion);
  if (layerCount < 2) return;

  EREGION selection;
  _region->GetZorvanRegion(&selection);
  const bool empty = selection.startMeasure == 0 && selection.endMeasure == 0;
  const std::int16_t startMeasure = empty ? 0 : selection.startMeasure;
  const std::int16_t endMeasure = empty ? 0 : selection.endMeasure;

  LayerPointer source(new PKNoteEntryLayer(0, staff, startMeasure, endMeasure));
  // A layer that cannot be loaded completely cannot be judged: leave the staff.
  if (!source->Load() || source->GetCount() == 0) return;
  if (!_OtherLayersEmpty(staff, layerCount, source->GetStartMeasure(), source->GetEndMeasure())) return;

  _sourceLayer = source.get();
  struct SourceReset {
    PKNoteEntryLayer*& field;
    ~SourceReset() { field = nullptr; }
  } resetSource{_sourceLayer};

  // Nothing of the staff lies inside the selection: nothing to explode.
  if (!_FindSourceEntriesInRegion()) return;

  const std::int32_t largest = ScanLargestChord();
  if (std::uint32_t(largest - 2) > 2u) return;
  if (largest > layerCount || largest > kLargestChordExploded) return;

  // All clones are made before anything is saved, so that a clone the host
  // could not complete leaves the staff untouched.
  std::vector<LayerPointer> table(static_cast<std::size_t>(largest));
  for (std::int32_t k = largest - 1; k >= 1; --k) {
    table[std::size_t(k)].reset(
        source->CreateCloneEntries(std::int16_t(k), source->GetStaff(), source->GetStartMeasure()));
    if (table[std::size_t(k)]->GetCount() != source->GetCount()) return;
  }

  // The highest new layer is saved first. If a first save is refused, the
  // source keeps all its notes: it is never saved without its new layers.
  for (std::int32_t k = largest - 1; k >= 1; --k)
    if (!PostProcessLayer(table[std::size_t(k)].get())) return;

  source->Save();
  for (std::int32_t k = 1; k < largest; ++k) table[std::size_t(k)]->Save();
}

bool PKExplodeLayerProcessor::_OtherLayersEmpty(std::int16_t staff, std::int16_t layerCount,
                                                std::int16_t startMeasure, std::int16_t endMeasure) {
  for (std::int16_t layer = 1; layer < layerCount; ++layer) {
    PKNoteEntryLayer other(layer, staff, startMeasure, endMeasure);
    // A layer the host does not show still counts: music in a hidden layer
    // must never be written over.
    other.SetShownLayersOnly(false);
    if (!other.Load() || other.GetCount() > 0) return false;
  }
  return true;
}

bool PKExplodeLayerProcessor::_FindSourceEntriesInRegion() {
  // The test asks the host (the staff's slot); asking it again for every new
  // layer could give another answer when the host refuses a call, and a note
  // taken from a chord would then end as a rest.
  _sourceInRegion.assign(std::size_t(_sourceLayer->GetCount()), false);
  _sourceIndexByEntry.clear();
  bool any = false;
  for (std::int32_t i = 0; i < _sourceLayer->GetCount(); ++i) {
    _sourceInRegion[std::size_t(i)] = _region->IsEntryPosWithin(_sourceLayer->GetItemAt(i));
    any = any || _sourceInRegion[std::size_t(i)];
  }
  return any;
}

bool PKExplodeLayerProcessor::_IsSourceEntryInRegion(std::int32_t index) const {
  return index >= 0 && std::size_t(index) < _sourceInRegion.size() && _sourceInRegion[std::size_t(index)];
}

std::int32_t PKExplodeLayerProcessor::ScanLargestChord() {
  std::int32_t largest = 0;
  if (_sourceLayer == nullptr) return 0;
  for (std::int32_t i = 0; i < _sourceLayer->GetCount(); ++i) {
    PKNoteEntry* entry = _sourceLayer->GetItemAt(i);
    if (entry == nullptr || !entry->IsNote()) continue;
    if (entry->GetCount() > largest) largest = entry->GetCount();
  }
  return largest;
}

void PKExplodeLayerProcessor::AdjustLayerNotes(PKNoteEntryLayer* layer) {
  if (layer == nullptr || _sourceLayer == nullptr) return;
  const std::int32_t layerIndex = layer->GetLayer();
  for (std::int32_t i = 0; i < layer->GetCount(); ++i) {
    PKNoteEntry* target = layer->GetItemAt(i);
    PKNoteEntry* source = _sourceLayer->GetItemAt(i);
    if (target == nullptr || source == nullptr) continue;
    if (!source->IsNote() || !_IsSourceEntryInRegion(i)) continue;
    // The source loses a note for every layer made before this one.
    const std::int32_t notesLeft = source->GetCount();
    if (layerIndex < notesLeft) {
      PKNote* lowest = source->FindLowestNote(nullptr);
      target->CopyNote(lowest);
      source->DeleteNote(lowest);
    } else if (_duplicateUnisons && notesLeft == 1) {
      target->CopyNotes(source);
    } else {
      target->MakeRest();
    }
  }
}

void PKExplodeLayerProcessor::_MarkFillerRest(PKNoteEntry* entry) {
  // The record is packed: edit a copy of its flag word.
  EXENTRY* record = entry->GetRecord();
  std::uint32_t flags = record->flags;
  __PKBase::Set32BitFlag(&flags, kEntryFillerRestMark, true);
  record->flags = flags;
}

bool PKExplodeLayerProcessor::PostProcessLayer(PKNoteEntryLayer* layer) {
  AdjustLayerNotes(layer);
  if (!layer->Save()) return false;
  // The save reloads frames that received entry numbers; the entries must
  // still pair one to one with the source's.
  if (layer->GetCount() != _sourceLayer->GetCount()) return false;
  // The new entries have numbers now: the tuplets of layer 1 can be keyed by them.
  layer->CloneTuplets(_sourceLayer);
  for (std::int32_t i = 0; i < _sourceLayer->GetCount(); ++i) {
    PKNoteEntry* source = _sourceLayer->GetItemAt(i);
    PKNoteEntry* target = layer->GetItemAt(i);
    if (source == nullptr || target == nullptr) continue;
    if (!_IsSourceEntryInRegion(i)) {
      target->MakeRest();
      _MarkFillerRest(target);
    } else {
      if (source->GetArticulationFlag()) {
        // Read once for all the new layers. The copy is fresh and has no
        // articulations of its own, so the copies keep the source's incis.
        if (source->GetArticulationCache() == nullptr) source->CacheArticulations();
        target->AddArticulations(source, true);
      }
      if (source->GetSmartShapeFlag()) _CarrySmartShapes(layer, i);
    }
  }
  return true;
}

namespace {

// The type a copied smart shape takes in a new layer.
struct ShapeTypeChange {
  std::int16_t from;
  std::int16_t to;
};
constexpr ShapeTypeChange kCopiedShapeTypes[] = {{0, 15}, {1, 15}, {8, 16}, {9, 16}};

std::int16_t CopiedShapeType(std::int16_t type) {
  for (const ShapeTypeChange& change : kCopiedShapeTypes)
    if (change.from == type) return change.to;
  return type;
}

}  // namespace

std::int32_t PKExplodeLayerProcessor::_FindSourceEntry(std::int32_t entryNumber) {
  if (_sourceIndexByEntry.empty())
    for (std::int32_t i = 0; i < _sourceLayer->GetCount(); ++i)
      _sourceIndexByEntry.emplace(std::int32_t(_sourceLayer->GetItemAt(i)->GetEntryNumber()), i);
  auto found = _sourceIndexByEntry.find(entryNumber);
  return found == _sourceIndexByEntry.end() ? -1 : found->second;
}

void PKExplodeLayerProcessor::_CarrySmartShapes(PKNoteEntryLayer* layer, std::int32_t index) {
  PKNoteEntry* source = _sourceLayer->GetItemAt(index);
  PKNoteEntry* target = layer->GetItemAt(index);
  PKSmartShapeMeasureMarks marks;
  marks.LoadAllForItem(std::uint16_t(source->GetMeasure()));
  // Neither shape needs its centre shapes: the copy gets new ones from
  // SaveNewEverything, so they are not loaded.
  for (int m = 0; m < marks.GetCount(); ++m) {
    std::unique_ptr<PKSmartShape> shape(marks.GetMarkAt(m)->CreateSmartShape(false));
    // Shapes are copied from their start entry only, and only when their end
    // entry is among the loaded entries.
    if (shape == nullptr || !shape->IsEntryAttached() ||
        shape->GetStartSegment()->GetEntryNumber() != std::int32_t(source->GetEntryNumber()))
      continue;
    const std::int32_t end = _FindSourceEntry(shape->GetEndSegment()->GetEntryNumber());
    if (end < 0) continue;
    PKNoteEntry* endTarget = layer->GetItemAt(end);
    std::unique_ptr<PKSmartShape> copy(marks.GetMarkAt(m)->CreateSmartShape(false));
    if (copy == nullptr || endTarget == nullptr) continue;
    copy->GetStartSegment()->SetEntryNumber(std::int32_t(target->GetEntryNumber()));
    copy->GetEndSegment()->SetEntryNumber(std::int32_t(endTarget->GetEntryNumber()));
    copy->SetShapeType(CopiedShapeType(copy->GetShapeType()));
    copy->SaveNewEverything(target, endTarget);
  }
}

void PKExplodeLayerProcessor::LoadUserOptions() {
  _duplicateUnisons = false;
  _duplicateUnisons = _ReadOption(kDuplicateUnisonsKey);
  _centerRests = false;
  _centerRests = _ReadOption(kCenterRestsKey);
}

bool PKExplodeLayerProcessor::_ReadOption(const char* key) {
  std::unique_ptr<PKSettingsPairs> pairs(LoadAllZKOptionsPairs(false));
  if (!pairs) return false;
  // The first occurrence of the key decides.
  for (int i = 0; i < pairs->GetCount(); ++i) {
    PKSettingsPair* pair = pairs->GetPairAt(i);
    if (pair == nullptr || !ZKEqualIgnoringCase(pair->GetKey()->GetCString(), key)) continue;
    PKString value;
    value.SetString(pair->GetValue());
    value.TrimWhitespace();
    return value.IsEqual("1");
  }
  return false;
}
