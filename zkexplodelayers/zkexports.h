// The plug-in's exported entry points, called by the host by their plain names.
#pragma once

#include <cstdint>

#include "tonaropdk/hostabi.h"

#if defined(_WIN32)
#define ZK_EXPORT
#else
#define ZK_EXPORT __attribute__((visibility("default")))
#endif

// The host's command description record as the plug-in fills it: three
// 64-byte texts and two 16-bit values. The host's record is larger; nothing
// after these 196 bytes is written.
#pragma pack(push, 1)
struct ZKCommandDescription {
  char pluginName[64];
  char description[64];
  char menuText[64];
  std::uint16_t value192;  // always 1; its meaning is the host's
  std::uint16_t value194;  // always 0; its meaning is the host's
};
#pragma pack(pop)
static_assert(sizeof(ZKCommandDescription) == 196, "command description is 196 bytes");

extern "C" {

// Stores the host's version as the running version and answers it unchanged.
ZK_EXPORT std::int32_t TONARO_CALL TonaroExtensionVersion(std::uint32_t hostVersion);

// Sets bit 1 of the host's flags word; answers 1.
ZK_EXPORT std::int32_t TONARO_CALL TonaroExtensionInit(std::int32_t unused, std::uint32_t* flags);

// Describes command `index` (low 16 bits, signed): 0 and below fill the
// record and answer 1; above 0 answer 0 and leave the record untouched.
ZK_EXPORT std::int32_t TONARO_CALL TonaroExtensionEnumerate(std::int32_t unused, std::int32_t index,
                                                            void* record);

// Does nothing.
ZK_EXPORT void TONARO_CALL TonaroExtensionTerminate(std::int32_t unused);

// Answers 1: the command is always enabled.
ZK_EXPORT std::int32_t TONARO_CALL TonaroExtensionGetMenuStatus(std::int32_t unused);

// Runs "Explode Layers" on the host's selection; answers 1 (the command's result).
ZK_EXPORT std::int32_t TONARO_CALL TonaroExtensionInvoke(std::int32_t unused1, std::int32_t unused2,
                                                         EREGION* selection, std::int32_t unused4);

}  // extern "C"
