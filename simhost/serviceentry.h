// What every service of the substitute host does on entry, and how a service
// function becomes a row of the service table. Internal to simhost.
#pragma once

#include <cstdint>

#include "simhost/host.h"

namespace simhost {

// Logs the call and notes its version; answers false when the call is to fail
// (fault injection) or no host is current.
inline bool EnterService(const char* service, std::uint32_t version) {
  Host* host = Host::Current();
  if (host == nullptr) return false;
  host->NoteVersion(service, version);
  return host->Enter(service);
}

// A row of the service table for a function of the host's calling convention.
template <class Function>
ServiceEntry MakeService(const char* name, Function function) {
  return ServiceEntry{name, reinterpret_cast<platform::ProcAddress>(function)};
}

}  // namespace simhost
