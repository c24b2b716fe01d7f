// The plug-in as the host sees it: its exports, found by name. Where programs
// are linked dynamically the real shared library is loaded with dlopen; in
// the static 32-bit configuration the exports are linked into the test.
#pragma once

#include <cstdint>
#include <string>

#include "tonaropdk/hostabi.h"

struct EREGION;

namespace testsupport {

class PluginLibrary {
 public:
  using VersionFn = TonaroExtensionVersionFn;
  using InitFn = TonaroExtensionInitFn;
  using EnumerateFn = TonaroExtensionEnumerateFn;
  using TerminateFn = TonaroExtensionTerminateFn;
  using MenuStatusFn = TonaroExtensionGetMenuStatusFn;
  using InvokeFn = TonaroExtensionInvokeFn;

  // Loads the plug-in built with the tests; loaded() tells whether it worked.
  PluginLibrary();
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  bool loaded() const { return version != nullptr; }
  const std::string& error() const { return _error; }
  // Answers the address of a named export, or null.
  void* Find(const char* name) const;

  VersionFn version = nullptr;
  InitFn init = nullptr;
  EnumerateFn enumerate = nullptr;
  TerminateFn terminate = nullptr;
  MenuStatusFn menuStatus = nullptr;
  InvokeFn invoke = nullptr;

 private:
  void* _handle = nullptr;
  std::string _error;
};

}  // namespace testsupport
