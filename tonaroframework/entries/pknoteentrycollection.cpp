#include "tonaroframework/entries/pknoteentrycollection.h"

#include "tonaropdk/hkservices.h"

namespace {

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

// What a copy loses: the flags that announce details keyed by entry number
// (note detail, articulation, further detail, tuplet, performance data,
// further detail 0x4000, special alterations, further details 0x400, 0x80,
// 0x40), since the copies have no details yet.
constexpr std::uint32_t kCopyClearedFlags = 0x007A54C0;
static_assert(kCopyClearedFlags == (kEntryNoteDetailFlag | kEntryArticulationFlag | kEntryDetailFlag |
                                    kEntryTupletFlag | kEntryPerformanceFlag | kEntryDetailFlag4000 |
                                    kEntrySpecialAltsFlag | kEntryDetailFlag0400 | kEntryDetailFlag0080 |
                                    kEntryDetailFlag0040),
              "flags cleared on copy");

int EntryCount(const EXTGF2005a* frame) { return frame->entries == nullptr ? 0 : frame->entryCount; }

}  // namespace

PKNoteEntry* __PKNoteEntryCollection::GetItemAt(int index) {
  return static_cast<PKNoteEntry*>(__PKCollection::GetItemAt(index));
}

PKNoteEntry* __PKNoteEntryCollection::_AppendFrameEntries(EXTGF2005a* frame, PKNoteEntry* previous) {
  const int count = EntryCount(frame);
  if (count <= 0) return previous;
  // One staff per frame: asked once, not once per entry.
  const std::int16_t staff = PKNoteEntry::_CalcFrameStaff(frame);
  _RequireElement(count);
  for (int j = 0; j < count; ++j) {
    auto* entry = new PKNoteEntry(&frame->entries[j], frame, staff);
    entry->_SetPrevious(previous);
    if (previous != nullptr) previous->_SetNext(entry);
    entry->_UpdateNoteCollection();
    Add(entry);
    previous = entry;
  }
  return previous;
}

bool __PKNoteEntryCollection::_CopyEntries(EXTGF2005a* source, EXTGF2005a* target) {
  if (source == nullptr || target == nullptr) return false;
  const int sourceCount = EntryCount(source);
  if (EntryCount(target) > 0 && HK_DeleteEXENTRY(target, 0, target->entryCount, kVersion) == 0) return false;
  if (sourceCount > 0 && HK_InsertEXENTRY(target, 0, std::int16_t(sourceCount), kVersion) == 0) return false;
  // The host may have moved the target's array: read it again.
  if (EntryCount(target) != sourceCount) return false;
  for (int i = 0; i < sourceCount; ++i) {
    EXENTRY& copy = target->entries[i];
    const std::uint32_t entryNumber = copy.entryNumber;
    copy = source->entries[i];
    copy.entryNumber = entryNumber;
    copy.flags &= ~kCopyClearedFlags;
    copy.flags2 = std::uint16_t(copy.flags2 & ~kEntrySmartShapeFlag);
  }
  return true;
}
