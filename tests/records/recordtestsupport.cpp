#include "recordtestsupport.h"

#include "tonaropdk/hkservices.h"

std::vector<std::uint8_t> Pattern(std::int32_t size, std::uint8_t first) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(first + i);
  return bytes;
}

std::int32_t DynamicRecord::DataSizeLoad() {
  std::int32_t size = 0;
  if (HK_LoadEData(Tag(), GetKey(), nullptr, &size, ZorvanVersion()) == 0) return 0;
  return size;
}

std::vector<std::uint8_t> Stored(EXTAG tag, const simhost::RecordKey& key) {
  const simhost::RecordBytes* bytes = simhost::Host::Current()->document.Records().Find(tag, key);
  return bytes == nullptr ? std::vector<std::uint8_t>() : *bytes;
}

std::vector<std::uint8_t> Loaded(const __PKBaseData& record) {
  const auto* block = static_cast<const std::uint8_t*>(record.GetDataBlock());
  if (block == nullptr || record.GetLoadedSize() <= 0) return {};
  return std::vector<std::uint8_t>(block, block + record.GetLoadedSize());
}
