#include "tonaropdk/hkbinding.h"

std::uint32_t RunningTonaroVersion = kTonaroFrameworkVersion;
bool __bWindowshadeAllowed = true;
std::int32_t TonaroEditDepth = 0;

void SetTonaroFrameworkVersion(std::uint32_t version) { RunningTonaroVersion = version; }

std::uint32_t GetTonaroFrameworkVersion() { return RunningTonaroVersion; }

void SetMinRequiredVersion(std::uint32_t) {}

void AllowWindowshade(bool allow) { __bWindowshadeAllowed = allow; }

platform::ModuleHandle GetTonaroHandle() {
  static bool lookedUp = false;
  static platform::ModuleHandle module = nullptr;
  if (!lookedUp) {
    module = platform::GetModuleHandleA("TONARO.EXE");
    if (module == nullptr) module = platform::GetModuleHandleA("VADOVAD.EXE");
    lookedUp = true;
  }
  return module;
}

namespace tonaropdk::binding {

platform::ProcAddress FindService(ServiceSlot& slot, const char* name) {
  if (!slot.lookedUp) {
    slot.address = platform::GetProcAddress(GetTonaroHandle(), name);
    slot.lookedUp = true;
  }
  return slot.address;
}

}  // namespace tonaropdk::binding
