// Loads the plug-in library at run time and calls its exports in the order
// the host does: version, init, enumerate, menu status, invoke with the
// selection, terminate.
#pragma once

#include <cstdint>
#include <string>

#include "tonaropdk/eregion.h"
#include "tonaropdk/hostabi.h"

namespace tools {

class PluginRunner {
 public:
  PluginRunner() = default;
  ~PluginRunner();
  PluginRunner(const PluginRunner&) = delete;
  PluginRunner& operator=(const PluginRunner&) = delete;

  // Loads the library and finds its six exports; answers "" or why not
  // (the library cannot be loaded, or lacks an export, naming it).
  std::string Load(const std::string& path);

  // Runs the handshake and the menu and invokes the command on `selection`;
  // answers "" or why the host would not run it (the command is not the one
  // expected, disabled, or reported failure).
  std::string Run(EREGION* selection);

  // The menu text the plug-in gave (after Run).
  const std::string& MenuText() const { return _menuText; }

  // Answers the plug-in library built with the tool, found beside the tool's own program.
  static std::string DefaultPath();

 private:

  void* _handle = nullptr;
  std::string _path;
  TonaroExtensionExports _exports;
  std::string _menuText;
};

}  // namespace tools
