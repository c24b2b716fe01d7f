// The substitute host: an in-memory stand-in for the notation program. It
// makes itself findable under the host's module name and answers the host's
// services by name, the way the real program exports them. It is
// instrumented for tests: a log of service calls, services that can be
// withheld, and failures injected into chosen calls.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "simhost/clipboard.h"
#include "simhost/document.h"
#include "simhost/frametable.h"
#include "tonaropdk/eregion.h"

namespace simhost {

// One service the host exports: its name and its address.
struct ServiceEntry {
  const char* name;
  platform::ProcAddress address;
};

// What the host answers about itself, independent of the score.
struct HostSettings {
  std::int32_t maxLayersAnswer = 4;         // HK_GetMaxLayers, all 32 bits of the answer
  std::vector<bool> hiddenLayers;           // HK_GetShowLayer: layer index -> hidden
  std::int16_t currentDocument = 1;         // HK_GetCurrentZorvanDocument
  std::string settingsFolder;               // HK_GetTonaroPath
  std::string partName = "Score";           // HK_GetPartName
};

class Host {
 public:
  // The module names the host program may carry.
  static constexpr const char* kModuleName = "TONARO.EXE";
  static constexpr const char* kOtherModuleName = "VADOVAD.EXE";

  // Makes this host the current one and registers it under `moduleName`
  // (null or empty: not findable at all).
  explicit Host(const char* moduleName = kModuleName);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // The host whose services answer now, or null.
  static Host* Current();

  // A withheld service is not found by name: the library sees it as missing.
  void Withhold(const std::string& service);

  // Makes `service` answer through `address` instead of the host's own
  // service (simhost/testservices.h has such stand-ins); set it before the
  // library's first call, since the library looks each service up once.
  void StandIn(const std::string& service, platform::ProcAddress address);

  // Makes the `nth` call (from 1) of `service` fail; "*" counts calls of every service.
  void FailCall(const std::string& service, std::uint32_t nth);
  void ClearFailures();

  // Every service call in order, by name.
  std::vector<std::string> CallLog() const;
  std::size_t CallLogSize() const { return _callLog.size(); }
  std::uint32_t CallCount(const std::string& service) const;
  void ClearCallLog();

  // Called by every service on entry: logs the call; answers false when the
  // call is to fail. `service` is the service's name as a literal: the log
  // keeps the pointer, not a copy, so that logging stays cheap on large scores.
  bool Enter(const char* service);

  // The version argument of the last call of each service.
  std::uint32_t LastVersion(const std::string& service) const;
  void NoteVersion(const char* service, std::uint32_t version);

  HostSettings settings;

  // The score the services answer from (see document.h).
  Document document;
  // The entry frames handed out (see frametable.h).
  FrameTable& Frames() { return _frames; }
  // Answers the number of frames handed out and not yet freed: 0 after every command.
  std::int32_t OutstandingFrames() const { return _frames.Outstanding(); }
  // The music clipboard (see clipboard.h).
  Clipboard clipboard;

  // The regions passed to HK_SetCurERegion, HK_RebeamRegion and HK_RedrawMusic, in call order.
  struct RegionCall {
    std::string service;
    EREGION region;
  };
  std::vector<RegionCall> regionCalls;

  // Results the session services answer, for tests of the binding.
  std::int32_t editAnswer = 1;
  std::int32_t dialogAnswer = 1;

  // Answers the address of a service, or null if unknown or withheld.
  platform::ProcAddress Resolve(const char* name) const;

 private:
  platform::ModuleHandle _module = nullptr;
  FrameTable _frames;
  std::set<std::string> _withheld;
  std::map<std::string, platform::ProcAddress> _standIns;
  bool Fails(std::string_view service, std::uint32_t nth) const;

  std::map<std::string, std::vector<std::uint32_t>, std::less<>> _failures;
  std::unordered_map<std::string_view, std::uint32_t> _callCounts;
  std::unordered_map<std::string_view, std::uint32_t> _lastVersions;
  std::uint32_t _allCalls = 0;
  std::vector<const char*> _callLog;
};

// Every service the host exports (services.cpp gathers the groups).
const std::vector<ServiceEntry>& AllServices();

// The groups of services, one per source file.
void AppendSessionServices(std::vector<ServiceEntry>& services);
void AppendScoreServices(std::vector<ServiceEntry>& services);
void AppendFrameServices(std::vector<ServiceEntry>& services);
void AppendRecordServices(std::vector<ServiceEntry>& services);

}  // namespace simhost
