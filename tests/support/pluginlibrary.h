// The plug-in as the host sees it: its exports, found by name. Where programs
// are linked dynamically the real shared library is loaded with dlopen; in
// the static 32-bit configuration the exports are linked into the test.
#pragma once

#include <cstdint>
#include <string>

#include "tonaropdk/hostabi.h"

struct EREGION;

namespace testsupport {

class PluginLibrary : public TonaroExtensionExports {
 public:

  // Loads the plug-in built with the tests; loaded() tells whether it worked.
  PluginLibrary();
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool loaded() const { return version != nullptr; }
  const std::string& error() const { return _error; }
  // Answers the address of a named export, or null.
  void* Find(const char* name) const;

 private:
  void* _handle = nullptr;
  std::string _error;
};

}  // namespace testsupport
