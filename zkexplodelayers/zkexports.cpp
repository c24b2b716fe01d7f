#include "zkexplodelayers/zkexports.h"

#include <cstddef>
#include <cstring>

#include "tonaropdk/hkbinding.h"

// The host's layout, the same on every build: no field depends on pointer width.
static_assert(offsetof(ZKCommandDescription, pluginName) == 0, "plug-in name at 0");
static_assert(offsetof(ZKCommandDescription, description) == 64, "description at 64");
static_assert(offsetof(ZKCommandDescription, menuText) == 128, "menu text at 128");
static_assert(offsetof(ZKCommandDescription, value192) == 192, "first value at 192");
static_assert(offsetof(ZKCommandDescription, value194) == 194, "second value at 194");
static_assert(sizeof(ZKCommandDescription::value192) == 2 && sizeof(ZKCommandDescription::value194) == 2,
              "the two values are 16 bits wide");

namespace {

const char kPluginName[] = "DI Veverer Odazoz";
const char kCommandDescription[] = "Explode notes in layer 1 into multiple layers.";
const char kMenuText[] = "Explode Layers";

// Fills a 64-byte field the way strncpy with a count of 64 does: the text,
// then zero bytes to the end of the field.
void FillTextField(char (&field)[64], const char* text) {
  std::memset(field, 0, sizeof field);
  std::memcpy(field, text, std::strlen(text));
}

}  // namespace

extern "C" {

std::int32_t TONARO_CALL TonaroExtensionVersion(std::uint32_t hostVersion) {
  SetTonaroFrameworkVersion(hostVersion);
  return std::int32_t(hostVersion);
}

std::int32_t TONARO_CALL TonaroExtensionInit(std::int32_t, std::uint32_t* flags) {
  if (flags != nullptr) *flags |= 1u;
  return 1;
}

std::int32_t TONARO_CALL TonaroExtensionEnumerate(std::int32_t, std::int32_t index, void* record) {
  const std::int16_t itemIndex = std::int16_t(std::uint16_t(std::uint32_t(index) & 0xFFFF));
  if (itemIndex > 0 || record == nullptr) return 0;
  // The host's record may be larger and unaligned: fill a local copy, then
  // copy exactly its 196 bytes.
  ZKCommandDescription description;
  FillTextField(description.pluginName, kPluginName);
  FillTextField(description.description, kCommandDescription);
  FillTextField(description.menuText, kMenuText);
  description.value192 = 1;
  description.value194 = 0;
  std::memcpy(record, &description, sizeof description);
  return 1;
}

void TONARO_CALL TonaroExtensionTerminate(std::int32_t) {}

std::int32_t TONARO_CALL TonaroExtensionGetMenuStatus(std::int32_t) { return 1; }

}  // extern "C"

#if defined(_WIN32)
#include <windows.h>

// Process attach and detach: nothing to prepare or release.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif
