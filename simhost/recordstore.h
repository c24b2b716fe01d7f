// The host's document records, kept by tag and 8-byte key. The layout of a
// tag's key (which numbers it holds, and how wide) decides the order in which
// the host walks the records and how it assigns the key numbers a caller
// gives as -1 when creating a record:
//
// | layout         | key numbers, in key order                  | tags                                  |
// |----------------|--------------------------------------------|---------------------------------------|
// | kItemInci      | unsigned 16-bit item, signed 16-bit inci   | every tag not listed below            |
// | kEntryInci     | signed 32-bit entry number, 16-bit inci    | tuplets, articulations, entry marks,  |
// |                |                                            | dot modifications                     |
// | kTripleInci    | three 16-bit numbers, the last an inci     | cell details, centre shapes, groups   |
// | kItemInciPlace | 16-bit item, 16-bit inci, 32-bit position  | current staff specifications          |
// | kNumber        | signed 16-bit number                       | clef definitions (globals)            |
//
// Assigning numbers given as -1 (all bits of the number set), left to right:
// the first such number that is the inci (the last number of the layout, or the
// only one) takes the smallest value from 0 up that no record with the same
// other numbers has; the first such number that is not the inci takes one more
// than the largest value among the records that share the numbers before it
// (1 when there is none); every later -1 number then takes 0. So (-1, -1) for
// an item/inci record makes a new item with inci 0, (item, -1) the next free
// inci of that item, (entry, -1) the next free inci of that entry. A -1 in the
// entry number of an entry-keyed record is refused.
//
// Deleting an entry-keyed record closes the gap in that entry's incis: the
// entry's records of the same tag above the deleted inci move down by one.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "tonaropdk/hostabi.h"

namespace simhost {

// Eight key bytes, as the library passes them.
using RecordKey = std::array<std::uint8_t, 8>;
// A record's bytes.
using RecordBytes = std::vector<std::uint8_t>;

enum class KeyLayout { kItemInci, kEntryInci, kTripleInci, kItemInciPlace, kNumber };

// Answers the key layout the host uses for a tag.
KeyLayout KeyLayoutOf(EXTAG tag);

// Key builders for the layouts above; bytes a layout leaves free are 0.
RecordKey ItemKey(std::uint16_t item, std::int16_t inci = 0);
RecordKey EntryKey(std::int32_t entryNumber, std::int16_t inci = 0);
RecordKey TripleKey(std::int16_t first, std::int16_t second, std::int16_t inci = 0);
RecordKey NumberKey(std::int16_t number);
// Copies eight bytes from a key the library passed.
RecordKey KeyFrom(const void* key);

// Reads the numbers of a key as its tag's layout says (item, inci and so on).
std::vector<std::int64_t> KeyNumbers(EXTAG tag, const RecordKey& key);

class RecordStore {
 public:
  // Answers the record under tag and key, or null.
  const RecordBytes* Find(EXTAG tag, const RecordKey& key) const;
  // Answers the record for changing in place, or null.
  RecordBytes* FindMutable(EXTAG tag, const RecordKey& key);

  // Stores the record under the key, replacing any record it had.
  void Save(EXTAG tag, const RecordKey& key, RecordBytes bytes);
  // Stores a new record, first assigning the key numbers given as -1 (rules
  // above) and writing them into `key`. Answers false, storing nothing, when a
  // record with the completed key exists or the key cannot be completed.
  bool Create(EXTAG tag, RecordKey* key, RecordBytes bytes);
  // Removes the record (closing the gap among an entry's incis, see above);
  // false when there was none.
  bool Delete(EXTAG tag, const RecordKey& key);

  // Moves `key` to the record of the tag that follows it in key order
  // (whether or not `key` itself exists); false, `key` unchanged, at the end.
  bool Next(EXTAG tag, RecordKey* key) const;
  // Moves `key` to the record of the tag that precedes it; false at the start.
  bool Previous(EXTAG tag, RecordKey* key) const;

  // Every record of a tag, in key order.
  std::vector<std::pair<RecordKey, const RecordBytes*>> All(EXTAG tag) const;
  // Every tag that has records, ascending.
  std::vector<EXTAG> Tags() const;
  // Number of records of a tag (all tags for 0).
  std::size_t Count(EXTAG tag = 0) const;

 private:
  // Orders keys as their tag's layout reads them.
  struct KeyOrder {
    EXTAG tag;
    bool operator()(const RecordKey& a, const RecordKey& b) const;
  };
  using TagRecords = std::map<RecordKey, RecordBytes, KeyOrder>;

  TagRecords& RecordsOf(EXTAG tag);
  const TagRecords* RecordsOfConst(EXTAG tag) const;
  bool CompleteKey(EXTAG tag, RecordKey* key) const;
  // Moves the records of an entry above `inci` down by one inci.
  static void CloseInciGap(TagRecords& records, std::int32_t entryNumber, std::int16_t inci);

  std::map<EXTAG, TagRecords> _records;
};

}  // namespace simhost
