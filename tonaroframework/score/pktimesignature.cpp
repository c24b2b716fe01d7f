#include "tonaroframework/score/pktimesignature.h"

#include <algorithm>
#include <memory>

#include "tonaroframework/foundation/pkstring.h"

namespace {

// Top entries per top record, bottom entries per bottom record, and the words of each.
constexpr int kTopEntriesPerRecord = 2;
constexpr int kTopEntryWords = 3;
constexpr int kBottomEntriesPerRecord = 3;
constexpr int kBottomEntryWords = 2;

// The smallest-duration search starts above every duration.
constexpr int kNoSmallestDuration = 100000;
// The dotted beat values: 96 × 2^i for i from 0 to 6.
constexpr int kCompoundDurations[] = {96, 192, 384, 768, 1536, 3072, 6144};

bool IsCompoundDuration(int duration) {
  return std::find(std::begin(kCompoundDurations), std::end(kCompoundDurations), duration) !=
         std::end(kCompoundDurations);
}

// Groups of a flattened list: an entry's group number counts the group
// starts up to and including it; group 0 is no group.
template <class Entry>
int GroupCount(const std::vector<Entry>& entries) {
  return int(std::count_if(entries.begin(), entries.end(), [](const Entry& entry) { return entry.groupStart != 0; }));
}

// Calls `visit(entry)` for each element of a group, in list order.
template <class Entry, class Visit>
void ForEachGroupElement(const std::vector<Entry>& entries, int group, Visit visit) {
  int number = 0;
  for (const Entry& entry : entries) {
    if (entry.groupStart != 0) ++number;
    if (group > 0 && number == group) visit(entry);
  }
}

template <class Entry>
int GroupElementCount(const std::vector<Entry>& entries, int group) {
  int count = 0;
  ForEachGroupElement(entries, group, [&count](const Entry&) { ++count; });
  return count;
}

// Element `index` of a group, or null.
template <class Entry>
const Entry* GroupElement(const std::vector<Entry>& entries, int group, int index) {
  const Entry* found = nullptr;
  int m = 0;
  ForEachGroupElement(entries, group, [&](const Entry& entry) {
    if (m++ == index) found = &entry;
  });
  return found;
}

// Calls `visit(entry)` for every element of every group, group 1 first.
template <class Entry, class Visit>
void ForEachElement(const std::vector<Entry>& entries, Visit visit) {
  for (int group = 1, count = GroupCount(entries); group <= count; ++group) ForEachGroupElement(entries, group, visit);
}

// Whether two composites have the same groups, of the same sizes, with equal
// values (beats or durations, as `value` reads them) element by element.
template <class Composite>
bool SameGroups(const Composite& mine, const Composite& theirs, int (Composite::*value)(int, int) const) {
  if (mine.GetGroupCount() != theirs.GetGroupCount()) return false;
  for (int group = 1; group <= mine.GetGroupCount(); ++group) {
    if (mine.GetGroupElementCount(group) != theirs.GetGroupElementCount(group)) return false;
    for (int m = 0; m < mine.GetGroupElementCount(group); ++m)
      if ((mine.*value)(group, m) != (theirs.*value)(group, m)) return false;
  }
  return true;
}

// Rebuilds a composite's records from its flattened list, `perRecord` entries
// a record (`fill` writes one), incis 0 on under the loaded item number; the
// item's old records are deleted first. Answers the last save's result.
template <class Collection, class Element, class Entry, class Fill>
bool SaveFlattened(Collection& collection, const std::vector<Entry>& entries, int perRecord, Fill fill) {
  if (entries.empty() || collection.GetCount() == 0) return false;
  const std::uint16_t item = static_cast<__PKInciOther*>(collection.GetItemAt(0))->GetItem();
  collection.ClearAll();
  for (std::size_t first = 0, inci = 0; first < entries.size(); first += std::size_t(perRecord), ++inci) {
    auto* element = new Element();
    element->_SetItem(item);
    element->_SetInci(std::int16_t(inci));
    for (int slot = 0; slot < perRecord && first + std::size_t(slot) < entries.size(); ++slot)
      fill(*element, slot, entries[first + std::size_t(slot)]);
    collection.Add(element);
  }
  collection.DeleteDataForItem(item);
  bool saved = false;
  for (int i = 0; i < collection.GetCount(); ++i) {
    auto* element = static_cast<__PKBaseData*>(collection.GetItemAt(i));
    element->SetTagOverride(collection.GetTagOverride());
    saved = element->Save();
  }
  return saved;
}

}  // namespace

// ---- Composite records ----------------------------------------------------

void __PKCompositeTimeSigElement::SetWord(int index, std::uint16_t value) {
  if (index < 0 || index >= kWords) return;
  _words[index] = value;
  _SetDataBlock(_words);
  _SetLoadedSize(kRecordSize);
}

void PKCompositeTimeSigTop::LoadFlattened(std::uint16_t item) {
  LoadAllForItem(item);
  _entries.clear();
  for (int i = 0; i < GetCount(); ++i) {
    auto* record = static_cast<__PKCompositeTimeSigElement*>(GetItemAt(i));
    for (int slot = 0; slot < kTopEntriesPerRecord; ++slot) {
      const int word = slot * kTopEntryWords;
      CompositeTopEntry entry{std::int16_t(record->GetWord(word)), std::int16_t(record->GetWord(word + 1)),
                              std::int16_t(record->GetWord(word + 2))};
      if (entry.beats != 0 || entry.second != 0) _entries.push_back(entry);
    }
  }
}

void PKCompositeTimeSigBottom::LoadFlattened(std::uint16_t item) {
  LoadAllForItem(item);
  _entries.clear();
  for (int i = 0; i < GetCount(); ++i) {
    auto* record = static_cast<__PKCompositeTimeSigElement*>(GetItemAt(i));
    for (int slot = 0; slot < kBottomEntriesPerRecord; ++slot) {
      const int word = slot * kBottomEntryWords;
      CompositeBottomEntry entry{std::int16_t(record->GetWord(word)), std::int16_t(record->GetWord(word + 1))};
      // The entries of a record end at its first zero duration.
      if (entry.duration == 0) break;
      _entries.push_back(entry);
    }
  }
}

bool PKCompositeTimeSigTop::SaveAll() {
  return SaveFlattened<PKCompositeTimeSigTop, __PKCompositeTimeSigTopElement>(
      *this, _entries, kTopEntriesPerRecord,
      [](__PKCompositeTimeSigElement& element, int slot, const CompositeTopEntry& entry) {
        const int word = slot * kTopEntryWords;
        element.SetWord(word, std::uint16_t(entry.beats));
        element.SetWord(word + 1, std::uint16_t(entry.second));
        element.SetWord(word + 2, std::uint16_t(entry.groupStart));
      });
}

bool PKCompositeTimeSigBottom::SaveAll() {
  return SaveFlattened<PKCompositeTimeSigBottom, __PKCompositeTimeSigBottomElement>(
      *this, _entries, kBottomEntriesPerRecord,
      [](__PKCompositeTimeSigElement& element, int slot, const CompositeBottomEntry& entry) {
        const int word = slot * kBottomEntryWords;
        element.SetWord(word, std::uint16_t(entry.duration));
        element.SetWord(word + 1, std::uint16_t(entry.groupStart));
      });
}

int PKCompositeTimeSigTop::GetGroupCount() const { return GroupCount(_entries); }
int PKCompositeTimeSigTop::GetGroupElementCount(int group) const { return GroupElementCount(_entries, group); }
int PKCompositeTimeSigTop::GetGroupElementBeats(int group, int index) const {
  const CompositeTopEntry* entry = GroupElement(_entries, group, index);
  return entry != nullptr ? entry->beats : 0;
}

int PKCompositeTimeSigBottom::GetGroupCount() const { return GroupCount(_entries); }
int PKCompositeTimeSigBottom::GetGroupElementCount(int group) const { return GroupElementCount(_entries, group); }
int PKCompositeTimeSigBottom::GetGroupElementBeatDuration(int group, int index) const {
  const CompositeBottomEntry* entry = GroupElement(_entries, group, index);
  return entry != nullptr ? entry->duration : 0;
}

// ---- Time signatures ------------------------------------------------------

bool PKTimeSignature::CloneMemoryFrom(__PKBaseData* other) {
  auto* time = dynamic_cast<PKTimeSignature*>(other);
  if (time == nullptr) return false;
  _block = time->_block;
  _SetDataBlock(&_block);
  _SetLoadedSize(kBlockSize);
  return true;
}

PKCompositeTimeSigTop* PKTimeSignature::CreateCompositeTop() {
  auto* top = new PKCompositeTimeSigTop();
  if (GetCompositeBeats()) top->LoadFlattened(std::uint16_t(_block.beats));
  return top;
}

PKCompositeTimeSigBottom* PKTimeSignature::CreateCompositeBottom() {
  auto* bottom = new PKCompositeTimeSigBottom();
  if (GetCompositeBeatDuration()) bottom->LoadFlattened(std::uint16_t(_block.beatDuration));
  return bottom;
}

int PKTimeSignature::CalcBeats() {
  if (!GetCompositeBeats()) return _block.beats;
  std::unique_ptr<PKCompositeTimeSigTop> top(CreateCompositeTop());
  return std::int16_t(top->GetEntryCount());
}

int PKTimeSignature::GetLargestBeats() {
  if (!GetCompositeBeats()) return _block.beats;
  std::unique_ptr<PKCompositeTimeSigTop> top(CreateCompositeTop());
  int largest = 0;
  ForEachElement(top->Entries(), [&largest](const CompositeTopEntry& entry) {
    largest = std::max<int>(largest, entry.beats);
  });
  return largest;
}

int PKTimeSignature::GetLargestBeatDuration() {
  if (!GetCompositeBeatDuration()) return _block.beatDuration;
  std::unique_ptr<PKCompositeTimeSigBottom> bottom(CreateCompositeBottom());
  int largest = 0;
  ForEachElement(bottom->Entries(), [&largest](const CompositeBottomEntry& entry) {
    largest = std::max<int>(largest, entry.duration);
  });
  return largest;
}

int PKTimeSignature::GetSmallestBeatDuration() {
  if (!GetCompositeBeatDuration()) return _block.beatDuration;
  std::unique_ptr<PKCompositeTimeSigBottom> bottom(CreateCompositeBottom());
  int smallest = kNoSmallestDuration;
  ForEachElement(bottom->Entries(), [&smallest](const CompositeBottomEntry& entry) {
    smallest = std::min<int>(smallest, entry.duration);
  });
  // The host's answer is 16 bits wide, also for the starting value.
  return std::int16_t(smallest);
}

bool PKTimeSignature::IsCompound() {
  if (!GetCompositeBeatDuration()) return IsCompoundDuration(_block.beatDuration);
  std::unique_ptr<PKCompositeTimeSigBottom> bottom(CreateCompositeBottom());
  bool compound = true;
  ForEachElement(bottom->Entries(), [&compound](const CompositeBottomEntry& entry) {
    compound = compound && IsCompoundDuration(entry.duration);
  });
  return compound;
}

PKTimeSignature::BeatStarts PKTimeSignature::_WalkBeats() {
  std::unique_ptr<PKCompositeTimeSigTop> top(CreateCompositeTop());
  std::unique_ptr<PKCompositeTimeSigBottom> bottom(CreateCompositeBottom());
  BeatStarts beats;
  for (int group = 1; group <= top->GetGroupCount(); ++group) {
    const std::int32_t unit =
        GetCompositeBeatDuration() ? bottom->GetGroupElementBeatDuration(group, 0) : _block.beatDuration;
    ForEachGroupElement(top->Entries(), group, [&](const CompositeTopEntry& entry) {
      beats.starts.push_back(beats.end);
      beats.end += std::int32_t(entry.beats) * unit;
    });
  }
  return beats;
}

bool PKTimeSignature::IsBeatPosition(std::int32_t position) {
  if (!GetCompositeBeats()) return _block.beatDuration != 0 && position % _block.beatDuration == 0;
  const BeatStarts beats = _WalkBeats();
  return std::find(beats.starts.begin(), beats.starts.end(), position) != beats.starts.end();
}

int PKTimeSignature::CalcBeatPosition(std::int32_t position) {
  if (!GetCompositeBeats()) return IsBeatPosition(position) ? position / _block.beatDuration : -1;
  const BeatStarts beats = _WalkBeats();
  auto found = std::find(beats.starts.begin(), beats.starts.end(), position);
  return found == beats.starts.end() ? -1 : int(found - beats.starts.begin());
}

std::int32_t PKTimeSignature::CalcPrevBeatPosition(std::int32_t position) {
  if (!GetCompositeBeats()) {
    if (_block.beatDuration == 0) return 0;
    return ((position - 1) / _block.beatDuration) * _block.beatDuration;
  }
  const BeatStarts beats = _WalkBeats();
  if (beats.starts.empty() || position >= beats.end) return 0;
  std::int32_t previous = 0;
  for (std::int32_t start : beats.starts)
    if (start <= position) previous = start;
  return previous;
}

bool PKTimeSignature::IsIdentical(PKTimeSignature* other) {
  if (other == nullptr || GetCompositeBeats() != other->GetCompositeBeats() ||
      GetCompositeBeatDuration() != other->GetCompositeBeatDuration())
    return false;
  if (!GetCompositeBeats()) {
    if (_block.beats != other->_block.beats) return false;
  } else {
    std::unique_ptr<PKCompositeTimeSigTop> mine(CreateCompositeTop()), theirs(other->CreateCompositeTop());
    if (!SameGroups(*mine, *theirs, &PKCompositeTimeSigTop::GetGroupElementBeats)) return false;
  }
  if (!GetCompositeBeatDuration()) return _block.beatDuration == other->_block.beatDuration;
  std::unique_ptr<PKCompositeTimeSigBottom> mine(CreateCompositeBottom()), theirs(other->CreateCompositeBottom());
  return SameGroups(*mine, *theirs, &PKCompositeTimeSigBottom::GetGroupElementBeatDuration);
}

void PKTimeSignature::MakeString(PKString* text) const {
  if (text == nullptr) return;
  text->SetCString("");
  int beats = _block.beats;
  int duration = _block.beatDuration;
  // A dotted beat is shown as three beats of a third of its length.
  if (duration % 3 == 0) {
    beats *= 3;
    duration /= 3;
  }
  if (duration == 0 || beats == 0) {
    text->SetCString("???");
    return;
  }
  text->AppendInteger(beats);
  text->Append("/");
  text->AppendInteger(4096 / duration);
}
