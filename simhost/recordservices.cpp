// The record services over the document's record store. A load delivers at
// most the room the caller gives and reports how many bytes it delivered; a
// load without a buffer reports the stored record's size. The staff record
// in effect at any place is the staff's own record: the host has no staff
// styles.
#include <algorithm>
#include <cstring>

#include "simhost/serviceentry.h"
#include "tonaropdk/hostabi.h"

namespace simhost {
namespace {

Document& CurrentDocument() { return Host::Current()->document; }

// Answers the record the host keeps under tag and key, computed or stored.
const RecordBytes* FindRecord(EXTAG tag, const RecordKey& key) {
  const RecordStore& records = CurrentDocument().Records();
  if (tag == tags::kCurrentStaffSpec) {
    const std::int64_t staff = KeyNumbers(tag, key)[0];
    return records.Find(tags::kStaff, ItemKey(std::uint16_t(staff)));
  }
  return records.Find(tag, key);
}

// Copies at most `room` bytes of a record into the caller's buffer; answers the count.
std::int32_t Deliver(const RecordBytes& record, void* buffer, std::int32_t room) {
  const std::int32_t count = std::min<std::int32_t>(room, std::int32_t(record.size()));
  if (count > 0) std::memcpy(buffer, record.data(), std::size_t(count));
  return count;
}

RecordBytes BytesOf(const void* buffer, std::int32_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  return RecordBytes(bytes, bytes + size);
}

std::int32_t TONARO_CALL LoadEData(EXTAG tag, void* key, void* buffer, std::int32_t* size, std::uint32_t version) {
  if (!EnterService("HK_LoadEData", version) || key == nullptr || size == nullptr) return 0;
  const RecordBytes* record = FindRecord(tag, KeyFrom(key));
  if (record == nullptr) return 0;
  if (buffer == nullptr) {
    *size = std::int32_t(record->size());
    return 1;
  }
  if (*size < 0) return 0;
  *size = Deliver(*record, buffer, *size);
  return 1;
}

std::int32_t TONARO_CALL SaveEData(EXTAG tag, void* key, void* buffer, std::int32_t size, std::uint32_t version) {
  if (!EnterService("HK_SaveEData", version) || key == nullptr || buffer == nullptr || size <= 0) return 0;
  CurrentDocument().Records().Save(tag, KeyFrom(key), BytesOf(buffer, size));
  return 1;
}

std::int32_t TONARO_CALL CreateEData(EXTAG tag, void* key, void* buffer, std::int32_t size, std::uint32_t version) {
  if (!EnterService("HK_CreateEData", version) || key == nullptr || buffer == nullptr || size <= 0) return 0;
  RecordKey completed = KeyFrom(key);
  if (!CurrentDocument().Records().Create(tag, &completed, BytesOf(buffer, size))) return 0;
  std::memcpy(key, completed.data(), completed.size());
  return 1;
}

std::int32_t TONARO_CALL DeleteEData(EXTAG tag, void* key, std::uint32_t version) {
  if (!EnterService("HK_DeleteEData", version) || key == nullptr) return 0;
  return CurrentDocument().Records().Delete(tag, KeyFrom(key)) ? 1 : 0;
}

// Moves the key to the neighbouring record and, given room, delivers that record.
std::int32_t Step(bool forward, EXTAG tag, void* key, void* buffer, std::int32_t size) {
  if (key == nullptr) return 0;
  RecordKey moved = KeyFrom(key);
  const RecordStore& records = CurrentDocument().Records();
  if (!(forward ? records.Next(tag, &moved) : records.Previous(tag, &moved))) return 0;
  std::memcpy(key, moved.data(), moved.size());
  if (buffer != nullptr && size > 0) Deliver(*records.Find(tag, moved), buffer, size);
  return 1;
}

std::int32_t TONARO_CALL NextEData(EXTAG tag, void* key, void* buffer, std::int32_t size, std::uint32_t version) {
  if (!EnterService("HK_NextEData", version)) return 0;
  return Step(true, tag, key, buffer, size);
}

std::int32_t TONARO_CALL PreviousEData(EXTAG tag, void* key, void* buffer, std::int32_t size, std::uint32_t version) {
  if (!EnterService("HK_PreviousEData", version)) return 0;
  return Step(false, tag, key, buffer, size);
}

}  // namespace

void AppendRecordServices(std::vector<ServiceEntry>& services) {
  services.insert(services.end(), {
                                      MakeService("HK_LoadEData", &LoadEData),
                                      MakeService("HK_SaveEData", &SaveEData),
                                      MakeService("HK_CreateEData", &CreateEData),
                                      MakeService("HK_DeleteEData", &DeleteEData),
                                      MakeService("HK_NextEData", &NextEData),
                                      MakeService("HK_PreviousEData", &PreviousEData),
                                  });
}

}  // namespace simhost
