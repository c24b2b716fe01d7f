// What the library and the host agree on at the binary level: the calling
// convention of host services and exports, the version values, and the
// types that service signatures name.
#pragma once

#include <cstdint>
#include <type_traits>

#if defined(_WIN32)
#define TONARO_CALL __stdcall
#else
#define TONARO_CALL
#endif

// The version this library claims, passed as the last argument of every host service.
constexpr std::uint32_t kTonaroFrameworkVersion = 0x0F000200;

// A record tag: four characters, most significant byte first.
using EXTAG = std::uint32_t;

// Multi-character tag constant: MakeTag('S', 'O', 'M', 'S') is 0x534F4D53.
constexpr EXTAG MakeTag(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  return (EXTAG(a) << 24) | (EXTAG(b) << 16) | (EXTAG(c) << 8) | EXTAG(d);
}

struct EXTGF2005a;
struct EREGION;

// The plug-in's exports as the host calls them.
using TonaroExtensionVersionFn = std::int32_t(TONARO_CALL*)(std::uint32_t hostVersion);
using TonaroExtensionInitFn = std::int32_t(TONARO_CALL*)(std::int32_t, std::uint32_t* flags);
using TonaroExtensionEnumerateFn = std::int32_t(TONARO_CALL*)(std::int32_t, std::int32_t index, void* record);
using TonaroExtensionTerminateFn = void(TONARO_CALL*)(std::int32_t);
using TonaroExtensionGetMenuStatusFn = std::int32_t(TONARO_CALL*)(std::int32_t);
using TonaroExtensionInvokeFn = std::int32_t(TONARO_CALL*)(std::int32_t, std::int32_t, EREGION* selection,
                                                            std::int32_t);

// The plug-in's six exports, found by name as the host finds them.
struct TonaroExtensionExports {
  TonaroExtensionVersionFn version = nullptr;
  TonaroExtensionInitFn init = nullptr;
  TonaroExtensionEnumerateFn enumerate = nullptr;
  TonaroExtensionGetMenuStatusFn menuStatus = nullptr;
  TonaroExtensionInvokeFn invoke = nullptr;
  TonaroExtensionTerminateFn terminate = nullptr;

  // Looks every export up with `find(name)`, which answers its address or
  // null; answers the name of the first one missing, in the order the host
  // calls them, or null when all were found.
  template <class Find>
  const char* Bind(Find find) {
    const char* missing = nullptr;
    auto bind = [&find, &missing](auto& slot, const char* name) {
      void* address = find(name);
      slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(address);
      if (address == nullptr && missing == nullptr) missing = name;
    };
    bind(version, "TonaroExtensionVersion");
    bind(init, "TonaroExtensionInit");
    bind(enumerate, "TonaroExtensionEnumerate");
    bind(menuStatus, "TonaroExtensionGetMenuStatus");
    bind(invoke, "TonaroExtensionInvoke");
    bind(terminate, "TonaroExtensionTerminate");
    return missing;
  }
};
