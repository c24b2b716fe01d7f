#include "tests/support/pluginlibrary.h"

#if defined(ZK_PLUGIN_PATH)
#include <dlfcn.h>
#else
#include <cstring>

#include "zkexplodelayers/zkexports.h"
#endif

namespace testsupport {

#if defined(ZK_PLUGIN_PATH)

PluginLibrary::PluginLibrary() {
  _handle = dlopen(ZK_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  if (_handle == nullptr) {
    const char* message = dlerror();
    _error = message ? message : "dlopen failed";
    return;
  }
  Bind([this](const char* name) { return Find(name); });
}

PluginLibrary::~PluginLibrary() {
  if (_handle != nullptr) dlclose(_handle);
}

void* PluginLibrary::Find(const char* name) const {
  return _handle == nullptr ? nullptr : dlsym(_handle, name);
}

#else

namespace {

struct Export {
  const char* name;
  void* address;
};

const Export kExports[] = {
    {"TonaroExtensionVersion", reinterpret_cast<void*>(&TonaroExtensionVersion)},
    {"TonaroExtensionInit", reinterpret_cast<void*>(&TonaroExtensionInit)},
    {"TonaroExtensionEnumerate", reinterpret_cast<void*>(&TonaroExtensionEnumerate)},
    {"TonaroExtensionTerminate", reinterpret_cast<void*>(&TonaroExtensionTerminate)},
    {"TonaroExtensionGetMenuStatus", reinterpret_cast<void*>(&TonaroExtensionGetMenuStatus)},
    {"TonaroExtensionInvoke", reinterpret_cast<void*>(&TonaroExtensionInvoke)},
};

}  // namespace

PluginLibrary::PluginLibrary() {
  Bind([this](const char* name) { return Find(name); });
}

PluginLibrary::~PluginLibrary() = default;

void* PluginLibrary::Find(const char* name) const {
  for (const Export& e : kExports)
    if (std::strcmp(e.name, name) == 0) return e.address;
  return nullptr;
}

#endif

}  // namespace testsupport
