// The entry-frame services: frames are handed out as copies of the stored
// entries and taken back; inserting and deleting entries always moves the
// entry array; saving stores the entries, numbering new ones in the document
// only (the frame in hand keeps entry number 0 until it is loaded again).
#include <algorithm>

#include "simhost/serviceentry.h"
#include "tonaropdk/hostabi.h"

namespace simhost {
namespace {

constexpr const char* kLoad = "HK_LoadTGF";
constexpr const char* kInsert = "HK_InsertEXENTRY";
constexpr const char* kDelete = "HK_DeleteEXENTRY";
constexpr const char* kSave = "HK_SaveTGF";
constexpr const char* kFree = "HK_FreeTGF";
constexpr const char* kDuration = "HK_GetTGFDuration";

Host& CurrentHost() { return *Host::Current(); }

EXTGF2005a* TONARO_CALL LoadTGF(std::int32_t staffList, std::int32_t slot, std::int32_t measure, std::int32_t layer,
                                std::int32_t /*flag: a fresh load or a reload, stored alike*/,
                                std::uint32_t version) {
  if (!EnterService(kLoad, version)) return nullptr;
  Host& host = CurrentHost();
  const std::int16_t layerCount = std::int16_t(host.settings.maxLayersAnswer & 0xFFFF);
  const LayerPlace place{host.document.SlotToStaff(std::int16_t(slot), std::uint16_t(staffList)),
                         std::int16_t(measure), std::int16_t(layer)};
  if (!host.document.IsValidLayer(place) || place.layer >= layerCount) return nullptr;
  const std::vector<EXENTRY>& entries = host.document.Entries(place);
  return host.Frames().Create(place, std::uint16_t(staffList), std::int16_t(slot), entries,
                              host.document.TupletItems(entries));
}

// Answers where an entry index lands after `count` entries from `at` are
// removed (count < 0) or inserted (count > 0); -1 when it was removed.
std::int32_t MovedIndex(std::int32_t index, std::int32_t at, std::int32_t count) {
  if (index < at) return index;
  if (count > 0) return index + count;
  if (index < at - count) return -1;
  return index + count;
}

// The frame's tuplet items after entries moved: items whose first entry went are dropped.
std::vector<TupletInfo> MovedTuplets(const std::vector<TupletInfo>& tuplets, std::int32_t at, std::int32_t count) {
  std::vector<TupletInfo> moved;
  for (TupletInfo item : tuplets) {
    const std::int32_t first = MovedIndex(item.firstEntry, at, count);
    if (first < 0) continue;
    std::int32_t last = MovedIndex(item.lastEntry, at, count);
    if (last < 0) last = std::max(first, at - 1);  // its end went: it ends before the gap
    item.firstEntry = std::int16_t(first);
    item.lastEntry = std::int16_t(last);
    moved.push_back(item);
  }
  return moved;
}

std::int32_t TONARO_CALL InsertEXENTRY(EXTGF2005a* frame, std::int32_t index, std::int32_t count,
                                       std::uint32_t version) {
  const bool proceed = EnterService(kInsert, version);
  if (frame == nullptr || Host::Current() == nullptr) return 0;
  Host& host = CurrentHost();
  const LayerPlace place = host.Frames().PlaceOf(frame, kInsert);
  std::vector<EXENTRY> entries = host.Frames().EntriesOf(frame, kInsert);
  if (!proceed || count < 0 || index < 0 || std::size_t(index) > entries.size() ||
      entries.size() + std::size_t(count) > 0x7FFF)
    return 0;
  if (count == 0) return 1;
  // A new entry is blank: entry number 0, no notes; it takes the clef in
  // effect and starts where the entry before it ends.
  EXENTRY blank{};
  blank.clefIndex = host.document.ClefAt(place.staff, place.measure);
  if (index > 0) {
    const EXENTRY& previous = entries[std::size_t(index - 1)];
    blank.clefIndex = previous.clefIndex;
    blank.measurePos = previous.measurePos + previous.duration;
  }
  entries.insert(entries.begin() + index, std::size_t(count), blank);
  host.Frames().ReplaceEntries(frame, entries, MovedTuplets(host.Frames().TupletsOf(frame, kInsert), index, count),
                               kInsert);
  return 1;
}

std::int32_t TONARO_CALL DeleteEXENTRY(EXTGF2005a* frame, std::int32_t index, std::int32_t count,
                                       std::uint32_t version) {
  const bool proceed = EnterService(kDelete, version);
  if (frame == nullptr || Host::Current() == nullptr) return 0;
  Host& host = CurrentHost();
  std::vector<EXENTRY> entries = host.Frames().EntriesOf(frame, kDelete);
  if (!proceed || count < 0 || index < 0 || std::size_t(index) + std::size_t(count) > entries.size()) return 0;
  if (count == 0) return 1;
  entries.erase(entries.begin() + index, entries.begin() + index + count);
  host.Frames().ReplaceEntries(frame, entries, MovedTuplets(host.Frames().TupletsOf(frame, kDelete), index, -count),
                               kDelete);
  return 1;
}

std::int32_t TONARO_CALL SaveTGF(EXTGF2005a* frame, std::uint32_t version) {
  const bool proceed = EnterService(kSave, version);
  if (frame == nullptr || Host::Current() == nullptr) return 0;
  Host& host = CurrentHost();
  const LayerPlace place = host.Frames().PlaceOf(frame, kSave);
  std::vector<EXENTRY> entries = host.Frames().EntriesOf(frame, kSave);
  if (!proceed) return 0;
  return host.document.SetEntries(place, std::move(entries)) ? 1 : 0;
}

std::int32_t TONARO_CALL FreeTGF(EXTGF2005a* frame, std::uint32_t version) {
  // The frame goes back even when the call is made to fail: only the answer changes.
  const bool proceed = EnterService(kFree, version);
  if (frame == nullptr || Host::Current() == nullptr) return 0;
  CurrentHost().Frames().Free(frame, kFree);
  return proceed ? 1 : 0;
}

std::int32_t TONARO_CALL GetTGFDuration(EXTGF2005a* frame, std::uint32_t version) {
  const bool proceed = EnterService(kDuration, version);
  if (frame == nullptr || Host::Current() == nullptr) return 0;
  Host& host = CurrentHost();
  const std::vector<EXENTRY> entries = host.Frames().EntriesOf(frame, kDuration);
  if (!proceed) return 0;
  return Document::ElapsedDuration(entries, host.Frames().TupletsOf(frame, kDuration));
}

}  // namespace

void AppendFrameServices(std::vector<ServiceEntry>& services) {
  services.insert(services.end(), {
                                      MakeService(kLoad, &LoadTGF),
                                      MakeService(kInsert, &InsertEXENTRY),
                                      MakeService(kDelete, &DeleteEXENTRY),
                                      MakeService(kSave, &SaveTGF),
                                      MakeService(kFree, &FreeTGF),
                                      MakeService(kDuration, &GetTGFDuration),
                                  });
}

}  // namespace simhost
