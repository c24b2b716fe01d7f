// Process-wide facts about the running host, and the mechanism every service
// wrapper uses: one lookup per process, the default when the host lacks the
// service, arguments widened to 32-bit slots and results narrowed.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "tonaropdk/hostabi.h"

// Version of the running host (0x0F000200 until the handshake sets it).
extern std::uint32_t RunningTonaroVersion;
// Last value given to AllowWindowshade.
extern bool __bWindowshadeAllowed;
// Edits started with HK_StartTonaroEdit and not yet ended or cancelled.
extern std::int32_t TonaroEditDepth;

// Stores the running host version.
void SetTonaroFrameworkVersion(std::uint32_t version);
// Answers the running host version.
std::uint32_t GetTonaroFrameworkVersion();
// Accepts a version; has no effect.
void SetMinRequiredVersion(std::uint32_t version);
// Stores whether window-shading is allowed.
void AllowWindowshade(bool allow);
// Answers the host module ("TONARO.EXE", else "VADOVAD.EXE"), looked up once; may be null.
platform::ModuleHandle GetTonaroHandle();

namespace tonaropdk::binding {

// The address of one service, looked up on the first call only.
struct ServiceSlot {
  bool lookedUp;
  platform::ProcAddress address;
};

// Answers the service's address (null when the host lacks it); looks it up once.
platform::ProcAddress FindService(ServiceSlot& slot, const char* name);

// Arguments travel in 32-bit slots: shorts sign-extended, unsigned shorts and
// bytes zero-extended; pointers and doubles as they are.
inline std::int32_t Widen(std::int16_t value) { return value; }
inline std::int32_t Widen(std::uint16_t value) { return std::int32_t(std::uint32_t(value)); }
inline std::int32_t Widen(std::uint8_t value) { return std::int32_t(std::uint32_t(value)); }
inline std::int32_t Widen(std::int32_t value) { return value; }
inline std::uint32_t Widen(std::uint32_t value) { return value; }
inline double Widen(double value) { return value; }
template <class T>
T* Widen(T* pointer) {
  return pointer;
}

// How a host result is narrowed, one type per column value of the service table.
struct Short {
  using Type = std::int16_t;
  using Host = std::int32_t;
  static Type Narrow(Host value) { return Type(std::uint16_t(std::uint32_t(value) & 0xFFFF)); }
};
struct UShort {
  using Type = std::uint16_t;
  using Host = std::int32_t;
  static Type Narrow(Host value) { return Type(std::uint32_t(value) & 0xFFFF); }
};
struct Byte {
  using Type = std::uint8_t;
  using Host = std::int32_t;
  static Type Narrow(Host value) { return Type(std::uint32_t(value) & 0xFF); }
};
struct Whole {
  using Type = std::int32_t;
  using Host = std::int32_t;
  static Type Narrow(Host value) { return value; }
};
// A window handle: the host's whole 32-bit answer on the host's platform, kept
// at pointer width elsewhere so that it stays usable.
struct Handle {
  using Type = platform::WindowHandle;
  using Host = platform::WindowHandle;
  static Type Narrow(Host value) { return value; }
};
struct Frame {
  using Type = EXTGF2005a*;
  using Host = EXTGF2005a*;
  static Type Narrow(Host value) { return value; }
};
struct Text {
  using Type = const char*;
  using Host = const char*;
  static Type Narrow(Host value) { return value; }
};

// Calls the host service through `slot`, or answers `fallback` when it is missing.
template <class Result, class... Args>
typename Result::Type Call(ServiceSlot& slot, const char* name, typename Result::Type fallback,
                           Args... args) {
  platform::ProcAddress address = FindService(slot, name);
  if (address == nullptr) return fallback;
  using HostFunction = typename Result::Host(TONARO_CALL*)(decltype(Widen(args))...);
  return Result::Narrow(reinterpret_cast<HostFunction>(address)(Widen(args)...));
}

}  // namespace tonaropdk::binding
