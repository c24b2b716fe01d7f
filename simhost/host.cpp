#include "simhost/host.h"

#include <algorithm>
#include <cstring>

#include "platform/substitute.h"

namespace simhost {
namespace {

Host* gCurrent = nullptr;

platform::ProcAddress ResolveForModule(void* context, const char* name) {
  return static_cast<const Host*>(context)->Resolve(name);
}

}  // namespace

Host::Host(const char* moduleName) {
  gCurrent = this;
  if (moduleName != nullptr && *moduleName != 0)
    _module = platform::substitute::RegisterModule(moduleName, &ResolveForModule, this);
}

Host::~Host() {
  if (_module != nullptr) platform::substitute::UnregisterModule(_module);
  if (gCurrent == this) gCurrent = nullptr;
}

Host* Host::Current() { return gCurrent; }

void Host::Withhold(const std::string& service) { _withheld.insert(service); }

void Host::StandIn(const std::string& service, platform::ProcAddress address) {
  _standIns[service] = address;
}

void Host::FailCall(const std::string& service, std::uint32_t nth) { _failures[service].push_back(nth); }

void Host::ClearFailures() { _failures.clear(); }

std::vector<std::string> Host::CallLog() const { return std::vector<std::string>(_callLog.begin(), _callLog.end()); }

std::uint32_t Host::CallCount(const std::string& service) const {
  auto found = _callCounts.find(std::string_view(service));
  return found == _callCounts.end() ? 0 : found->second;
}

void Host::ClearCallLog() {
  _callLog.clear();
  _callCounts.clear();
  _allCalls = 0;
}

bool Host::Enter(const char* service) {
  _callLog.push_back(service);
  const std::uint32_t count = ++_callCounts[service];
  const std::uint32_t overall = ++_allCalls;
  return _failures.empty() || !(Fails(service, count) || Fails("*", overall));
}

bool Host::Fails(std::string_view service, std::uint32_t nth) const {
  auto found = _failures.find(service);
  return found != _failures.end() && std::find(found->second.begin(), found->second.end(), nth) != found->second.end();
}

std::uint32_t Host::LastVersion(const std::string& service) const {
  auto found = _lastVersions.find(std::string_view(service));
  return found == _lastVersions.end() ? 0 : found->second;
}

void Host::NoteVersion(const char* service, std::uint32_t version) { _lastVersions[service] = version; }

platform::ProcAddress Host::Resolve(const char* name) const {
  if (name == nullptr || _withheld.count(name) != 0) return nullptr;
  auto standIn = _standIns.find(name);
  if (standIn != _standIns.end()) return standIn->second;
  for (const ServiceEntry& entry : AllServices())
    if (std::strcmp(entry.name, name) == 0) return entry.address;
  return nullptr;
}

}  // namespace simhost
