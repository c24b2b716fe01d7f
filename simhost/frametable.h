// The entry frames the host has handed out. Each frame is a block the host
// allocates (the EXTGF2005a the library sees, then bytes of the host's own),
// with entry and tuplet arrays allocated separately. Arrays are replaced, never
// resized in place, whenever the number of entries changes, so a pointer into
// an old array is a pointer into freed memory. A frame's block is kept (and,
// under AddressSanitizer, poisoned) after it is freed, for the last
// kFreedFramesKept frees, so that a recently freed frame is recognised as
// such: a frame freed twice, or passed to a service after being freed, or a
// pointer that never was a frame, stops the program with a message. Older
// blocks are released, so that a command over a large score runs in bounded
// memory; a frame passed after that many later frees is reported as unknown,
// unless its address was handed out again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

#include "simhost/document.h"
#include "tonaropdk/extgf.h"

namespace simhost {

class FrameTable {
 public:
  // How many freed frames stay recognisable (see above).
  static constexpr std::size_t kFreedFramesKept = 8192;

  FrameTable() = default;
  ~FrameTable();
  FrameTable(const FrameTable&) = delete;
  FrameTable& operator=(const FrameTable&) = delete;

  // Hands out a new frame for a cell layer, holding copies of `entries` and of
  // `tuplets`; `staffList` and `slot` are written into the frame as the caller
  // named them.
  EXTGF2005a* Create(const LayerPlace& place, std::uint16_t staffList, std::int16_t slot,
                     const std::vector<EXENTRY>& entries, const std::vector<TupletInfo>& tuplets);

  // Answers the place a live frame was loaded for. Stops the program when
  // `frame` is freed or unknown; `service` names the caller in the message.
  const LayerPlace& PlaceOf(EXTGF2005a* frame, const char* service) const;
  // Stops the program unless `frame` is a live frame of this table.
  void CheckLive(EXTGF2005a* frame, const char* service) const;

  // Answers copies of a live frame's entries, as the host allocated them.
  std::vector<EXENTRY> EntriesOf(EXTGF2005a* frame, const char* service) const;
  // Answers copies of a live frame's tuplet items, as the host made them.
  std::vector<TupletInfo> TupletsOf(EXTGF2005a* frame, const char* service) const;
  // Gives a live frame new entry and tuplet arrays holding `entries` and
  // `tuplets`; the old arrays are released.
  void ReplaceEntries(EXTGF2005a* frame, const std::vector<EXENTRY>& entries, const std::vector<TupletInfo>& tuplets,
                      const char* service);

  // Takes a frame back. Stops the program when it was freed before or unknown.
  void Free(EXTGF2005a* frame, const char* service);

  // Answers the number of frames handed out and not yet freed.
  std::int32_t Outstanding() const { return _outstanding; }
  // Answers the number of frames handed out so far.
  std::int32_t Created() const { return _created; }

 private:
  // What the host knows of a frame, whatever the library did to its fields.
  struct FrameInfo {
    LayerPlace place;
    bool live = true;
    EXENTRY* entries = nullptr;
    std::int16_t entryCount = 0;
    TupletInfo* tuplets = nullptr;
    std::int16_t tupletCount = 0;
  };

  // Stops the program with a message naming the service and the fault.
  [[noreturn]] static void Abort(const char* service, const char* fault, const void* frame);
  FrameInfo& InfoOf(EXTGF2005a* frame, const char* service);
  static void ReleaseArrays(FrameInfo& info);
  static void SetArrays(EXTGF2005a* frame, FrameInfo& info, const std::vector<EXENTRY>& entries,
                        const std::vector<TupletInfo>& tuplets);

  // Releases the block of the oldest freed frame once more than
  // kFreedFramesKept are kept.
  void ReleaseOldestFreed();

  std::unordered_map<EXTGF2005a*, FrameInfo> _frames;  // live and recently freed
  std::deque<EXTGF2005a*> _freed;                      // recently freed, oldest first
  std::int32_t _outstanding = 0;
  std::int32_t _created = 0;
};

}  // namespace simhost
