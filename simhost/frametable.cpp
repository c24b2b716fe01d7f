#include "simhost/frametable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define SIMHOST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SIMHOST_ASAN 1
#endif
#endif

#if defined(SIMHOST_ASAN)
#include <sanitizer/asan_interface.h>
#endif

namespace simhost {
namespace {

// The block behind a frame: what the library sees, then the host's own bytes.
struct FrameBlock {
  EXTGF2005a frame;
  std::uint8_t hostBytes[32];
};

// Byte written over arrays before they are released, so that a stale pointer
// reads garbage even where no sanitizer watches.
constexpr int kReleasedPattern = 0xDD;

void Poison(FrameBlock* block) {
#if defined(SIMHOST_ASAN)
  ASAN_POISON_MEMORY_REGION(block, sizeof(FrameBlock));
#else
  // Without a sanitizer a freed frame reads as garbage with null arrays, so
  // that code reaching through it fails at once rather than reading stale data.
  std::memset(static_cast<void*>(block), kReleasedPattern, sizeof(FrameBlock));
  block->frame.entries = nullptr;
  block->frame.entryCount = 0;
  block->frame.tuplets = nullptr;
  block->frame.tupletCount = 0;
#endif
}

void Unpoison(FrameBlock* block) {
#if defined(SIMHOST_ASAN)
  ASAN_UNPOISON_MEMORY_REGION(block, sizeof(FrameBlock));
#else
  (void)block;
#endif
}

FrameBlock* BlockOf(EXTGF2005a* frame) { return reinterpret_cast<FrameBlock*>(frame); }

}  // namespace

FrameTable::~FrameTable() {
  for (auto& frame : _frames) {
    FrameBlock* block = BlockOf(frame.first);
    if (frame.second.live)
      ReleaseArrays(frame.second);
    else
      Unpoison(block);
    delete block;
  }
}

void FrameTable::Abort(const char* service, const char* fault, const void* frame) {
  std::fprintf(stderr, "simhost: %s: %s (frame %p)\n", service, fault, frame);
  std::fflush(stderr);
  std::abort();
}

EXTGF2005a* FrameTable::Create(const LayerPlace& place, std::uint16_t staffList, std::int16_t slot,
                               const std::vector<EXENTRY>& entries, const std::vector<TupletInfo>& tuplets) {
  FrameBlock* block = new FrameBlock();
  EXTGF2005a* frame = &block->frame;
  frame->staffList = staffList;
  frame->slot = slot;
  frame->measure = place.measure;
  frame->layer = place.layer;
  FrameInfo& info = _frames[frame];
  info.place = place;
  SetArrays(frame, info, entries, tuplets);
  ++_outstanding;
  ++_created;
  return frame;
}

FrameTable::FrameInfo& FrameTable::InfoOf(EXTGF2005a* frame, const char* service) {
  auto found = _frames.find(frame);
  if (found == _frames.end()) Abort(service, "not a frame this host handed out", frame);
  if (!found->second.live) Abort(service, "frame used after HK_FreeTGF", frame);
  return found->second;
}

void FrameTable::CheckLive(EXTGF2005a* frame, const char* service) const {
  const_cast<FrameTable*>(this)->InfoOf(frame, service);
}

const LayerPlace& FrameTable::PlaceOf(EXTGF2005a* frame, const char* service) const {
  return const_cast<FrameTable*>(this)->InfoOf(frame, service).place;
}

std::vector<EXENTRY> FrameTable::EntriesOf(EXTGF2005a* frame, const char* service) const {
  const FrameInfo& info = const_cast<FrameTable*>(this)->InfoOf(frame, service);
  return std::vector<EXENTRY>(info.entries, info.entries + info.entryCount);
}

std::vector<TupletInfo> FrameTable::TupletsOf(EXTGF2005a* frame, const char* service) const {
  const FrameInfo& info = const_cast<FrameTable*>(this)->InfoOf(frame, service);
  return std::vector<TupletInfo>(info.tuplets, info.tuplets + info.tupletCount);
}

void FrameTable::ReplaceEntries(EXTGF2005a* frame, const std::vector<EXENTRY>& entries,
                                const std::vector<TupletInfo>& tuplets, const char* service) {
  FrameInfo& info = InfoOf(frame, service);
  ReleaseArrays(info);
  SetArrays(frame, info, entries, tuplets);
}

void FrameTable::Free(EXTGF2005a* frame, const char* service) {
  auto found = _frames.find(frame);
  if (found == _frames.end()) Abort(service, "not a frame this host handed out", frame);
  if (!found->second.live) Abort(service, "frame freed twice", frame);
  ReleaseArrays(found->second);
  found->second.live = false;
  --_outstanding;
  Poison(BlockOf(frame));
  _freed.push_back(frame);
  if (_freed.size() > kFreedFramesKept) ReleaseOldestFreed();
}

void FrameTable::ReleaseOldestFreed() {
  EXTGF2005a* oldest = _freed.front();
  _freed.pop_front();
  FrameBlock* block = BlockOf(oldest);
  Unpoison(block);
  delete block;
  _frames.erase(oldest);
}

void FrameTable::ReleaseArrays(FrameInfo& info) {
  if (info.entries != nullptr) {
    std::memset(static_cast<void*>(info.entries), kReleasedPattern, std::size_t(info.entryCount) * sizeof(EXENTRY));
    delete[] info.entries;
  }
  if (info.tuplets != nullptr) {
    std::memset(static_cast<void*>(info.tuplets), kReleasedPattern,
                std::size_t(info.tupletCount) * sizeof(TupletInfo));
    delete[] info.tuplets;
  }
  info.entries = nullptr;
  info.entryCount = 0;
  info.tuplets = nullptr;
  info.tupletCount = 0;
}

void FrameTable::SetArrays(EXTGF2005a* frame, FrameInfo& info, const std::vector<EXENTRY>& entries,
                           const std::vector<TupletInfo>& tuplets) {
  info.entryCount = std::int16_t(entries.size());
  info.entries = entries.empty() ? nullptr : new EXENTRY[entries.size()];
  if (!entries.empty()) std::memcpy(static_cast<void*>(info.entries), entries.data(), entries.size() * sizeof(EXENTRY));
  info.tupletCount = std::int16_t(tuplets.size());
  info.tuplets = tuplets.empty() ? nullptr : new TupletInfo[tuplets.size()];
  if (!tuplets.empty()) std::memcpy(static_cast<void*>(info.tuplets), tuplets.data(), tuplets.size() * sizeof(TupletInfo));
  frame->entries = info.entries;
  frame->entryCount = info.entryCount;
  frame->tuplets = info.tuplets;
  frame->tupletCount = info.tupletCount;
}

}  // namespace simhost
