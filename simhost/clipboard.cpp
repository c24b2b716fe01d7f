#include "simhost/clipboard.h"

#include <algorithm>

namespace simhost {
namespace {

// Layers a clip always covers, so that pasting an empty layer clears the target.
constexpr std::int16_t kClipLayers = 4;

bool IsEmpty(const EREGION& region) { return region.startMeasure == 0 && region.endMeasure == 0; }

bool InSpan(const EXENTRY& entry, std::int32_t from, std::int32_t to) {
  return entry.measurePos >= from && entry.measurePos <= to;
}

// The tags whose records hang from entry numbers.
std::vector<EXTAG> EntryTags(const RecordStore& records) {
  std::vector<EXTAG> entryTags;
  for (EXTAG tag : records.Tags())
    if (KeyLayoutOf(tag) == KeyLayout::kEntryInci) entryTags.push_back(tag);
  return entryTags;
}

}  // namespace

std::int32_t Clipboard::Copy(Document& document, const EREGION& region, bool cut) {
  if (IsEmpty(region) || region.startMeasure > region.endMeasure) return 0;
  const std::vector<EXTAG> entryTags = EntryTags(document.Records());
  const std::int16_t firstSlot = std::min(region.startSlot, region.endSlot);
  const std::int16_t lastSlot = std::max(region.startSlot, region.endSlot);
  Clip clip;
  for (std::int16_t slot = firstSlot; slot <= lastSlot; ++slot) {
    const std::int16_t staff = document.SlotToStaff(slot, region.startStaffList);
    if (staff <= 0) continue;
    for (std::int16_t measure = region.startMeasure; measure <= region.endMeasure; ++measure) {
      std::int16_t layerCount = kClipLayers;
      for (const LayerPlace& filled : document.FilledLayers())
        if (filled.staff == staff && filled.measure == measure)
          layerCount = std::max<std::int16_t>(layerCount, std::int16_t(filled.layer + 1));
      for (std::int16_t layer = 0; layer < layerCount; ++layer) {
        const LayerPlace place{staff, measure, layer};
        if (!document.IsValidLayer(place)) continue;
        ClipLayer copied;
        copied.row = std::int16_t(slot - firstSlot);
        copied.measureOffset = std::int16_t(measure - region.startMeasure);
        copied.layer = layer;
        copied.from = measure == region.startMeasure ? region.startPos : 0;
        copied.to = (measure == region.endMeasure && region.endPos != kEndOfMeasure) ? region.endPos : kEndOfMeasure;
        std::vector<EXENTRY> kept;
        for (const EXENTRY& entry : document.Entries(place)) {
          if (!InSpan(entry, copied.from, copied.to)) {
            kept.push_back(entry);
            continue;
          }
          ClipEntry clipEntry{entry, {}};
          for (EXTAG tag : entryTags)
            for (std::int16_t inci = 0;; ++inci) {
              const RecordBytes* record =
                  document.Records().Find(tag, EntryKey(std::int32_t(entry.entryNumber), inci));
              if (record == nullptr) break;
              clipEntry.records.push_back(ClipRecord{tag, inci, *record});
            }
          copied.entries.push_back(std::move(clipEntry));
        }
        if (cut) document.SetEntries(place, std::move(kept));
        clip.push_back(std::move(copied));
      }
    }
  }
  const std::int32_t token = ++_lastToken;
  _clips[token] = std::move(clip);
  return token;
}

bool Clipboard::Paste(Document& document, std::int32_t token, const EREGION& target) {
  auto found = _clips.find(token);
  if (found == _clips.end() || IsEmpty(target)) return false;
  for (const ClipLayer& copied : found->second) {
    const std::int16_t staff = document.SlotToStaff(std::int16_t(target.startSlot + copied.row), target.startStaffList);
    const LayerPlace place{staff, std::int16_t(target.startMeasure + copied.measureOffset), copied.layer};
    if (!document.IsValidLayer(place)) continue;
    std::vector<EXENTRY> before, after;
    for (const EXENTRY& entry : document.Entries(place)) {
      if (InSpan(entry, copied.from, copied.to)) continue;
      (entry.measurePos < copied.from ? before : after).push_back(entry);
    }
    for (const ClipEntry& clipEntry : copied.entries) {
      EXENTRY entry = clipEntry.entry;
      entry.entryNumber = std::uint32_t(document.NewEntryNumber());
      for (const ClipRecord& record : clipEntry.records)
        document.Records().Save(record.tag, EntryKey(std::int32_t(entry.entryNumber), record.inci), record.bytes);
      before.push_back(entry);
    }
    before.insert(before.end(), after.begin(), after.end());
    document.SetEntries(place, std::move(before));
  }
  return true;
}

bool Clipboard::Dispose(std::int32_t token) { return _clips.erase(token) != 0; }

}  // namespace simhost
