#include "tools/pluginrunner.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace tools {
namespace {

// The host's command description record is larger than what the plug-in fills.
constexpr std::size_t kDescriptionRecordSize = 256;
constexpr std::size_t kMenuTextOffset = 128;
constexpr std::size_t kTextFieldSize = 64;

}  // namespace

PluginRunner::~PluginRunner() {
  if (_handle != nullptr) dlclose(_handle);
}

std::string PluginRunner::DefaultPath() {
  std::vector<char> self(4096, 0);
  const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
  if (length > 0) {
    std::string folder(self.data(), std::size_t(length));
    folder = folder.substr(0, folder.find_last_of('/'));
    const std::string beside = folder + "/../lib/libzkexplodelayers.so";
    if (access(beside.c_str(), R_OK) == 0) return beside;
  }
#if defined(ZK_BUILT_PLUGIN)
  return ZK_BUILT_PLUGIN;
#else
  return "libzkexplodelayers.so";
#endif
}

std::string PluginRunner::Load(const std::string& path) {
  _path = path;
  _handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (_handle == nullptr) {
    const char* reason = dlerror();
    return "cannot load the plug-in " + path + ": " + (reason ? reason : "unknown reason");
  }
  const char* missing = _exports.Bind([this](const char* name) { return dlsym(_handle, name); });
  if (missing != nullptr) {
    _exports = TonaroExtensionExports();  // Run refuses a half-found plug-in
    const bool command = std::strcmp(missing, "TonaroExtensionInvoke") == 0;
    return "the plug-in " + path + " lacks the export " + missing + (command ? " (it cannot run the command)" : "");
  }
  return std::string();
}

std::string PluginRunner::Run(EREGION* selection) {
  if (_exports.invoke == nullptr) return "no plug-in loaded";
  _exports.version(kTonaroFrameworkVersion);
  std::uint32_t flags = 0;
  _exports.init(0, &flags);
  std::vector<char> record(kDescriptionRecordSize, 0);
  if (_exports.enumerate(0, 0, record.data()) == 0) return "the plug-in " + _path + " describes no command";
  _menuText.assign(&record[kMenuTextOffset], strnlen(&record[kMenuTextOffset], kTextFieldSize));
  if (_menuText != "Explode Layers")
    return "the plug-in " + _path + " offers \"" + _menuText + "\", not \"Explode Layers\"";
  if (_exports.menuStatus(0) == 0) return "the plug-in " + _path + " reports its command disabled";
  const std::int32_t result = _exports.invoke(0, 0, selection, 0);
  _exports.terminate(0);
  if (result == 0) return "the command reported failure";
  return std::string();
}

}  // namespace tools
