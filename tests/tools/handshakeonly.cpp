// A plug-in library with the five handshake exports and no command export,
// to show how the tool reports a plug-in that cannot run the command.
#include <cstdint>
#include <cstring>

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT std::int32_t TonaroExtensionVersion(std::uint32_t version) { return std::int32_t(version); }
EXPORT std::int32_t TonaroExtensionInit(std::int32_t, std::uint32_t* flags) {
  *flags |= 1;
  return 1;
}
EXPORT std::int32_t TonaroExtensionEnumerate(std::int32_t, std::int32_t index, void* record) {
  if (index > 0) return 0;
  std::memset(record, 0, 196);
  std::strcpy(static_cast<char*>(record) + 128, "Explode Layers");
  return 1;
}
EXPORT void TonaroExtensionTerminate(std::int32_t) {}
EXPORT std::int32_t TonaroExtensionGetMenuStatus(std::int32_t) { return 1; }
