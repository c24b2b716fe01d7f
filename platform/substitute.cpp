#include "platform/substitute.h"

#if !defined(_WIN32)

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace platform {
namespace {

struct Module {
  std::string name;
  substitute::ProcResolver resolver;
  void* context;
};

struct State {
  std::vector<Module*> modules;
  std::map<std::uint32_t, std::string> strings;
  std::map<std::pair<WindowHandle, std::int32_t>, bool> hiddenItems;
  substitute::MessageBoxHook messageBoxHook = nullptr;
  WindowHandle activeWindow = nullptr;
  std::int32_t screenWidth = 1920;
  std::int32_t screenHeight = 1080;
  std::uint32_t moduleLookups = 0;
  std::uint32_t procLookups = 0;
  std::uint32_t beeps = 0;
  std::uint32_t lastBeepType = 0;
  std::uint32_t showWindowCalls = 0;
};

State& state() {
  static State instance;
  return instance;
}

bool SameNameIgnoringCase(const std::string& a, const char* b) {
  const std::size_t length = std::strlen(b);
  if (a.size() != length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool IsRegistered(ModuleHandle module) {
  for (Module* m : state().modules)
    if (m == module) return true;
  return false;
}

// A dialog item handle is a small record that remembers its dialog and number.
struct DialogItem {
  WindowHandle dialog;
  std::int32_t item;
};

}  // namespace

ModuleHandle GetModuleHandleA(const char* name) {
  ++state().moduleLookups;
  if (name == nullptr) return nullptr;
  for (Module* m : state().modules)
    if (SameNameIgnoringCase(m->name, name)) return m;
  return nullptr;
}

ProcAddress GetProcAddress(ModuleHandle module, const char* name) {
  ++state().procLookups;
  if (module == nullptr || name == nullptr || !IsRegistered(module)) return nullptr;
  Module* m = static_cast<Module*>(module);
  return m->resolver ? m->resolver(m->context, name) : nullptr;
}

std::int32_t LoadStringA(ModuleHandle, std::uint32_t id, char* buffer, std::int32_t size) {
  if (buffer == nullptr || size <= 0) return 0;
  auto found = state().strings.find(id);
  if (found == state().strings.end()) {
    buffer[0] = 0;
    return 0;
  }
  std::size_t count = found->second.size();
  if (count > std::size_t(size - 1)) count = std::size_t(size - 1);
  std::memcpy(buffer, found->second.data(), count);
  buffer[count] = 0;
  return std::int32_t(count);
}

WindowHandle GetDlgItem(WindowHandle dialog, std::int32_t item) {
  if (dialog == nullptr) return nullptr;
  // Handles live as long as the process, like the items of a dialog that
  // stays open; map nodes keep their addresses.
  static std::map<std::pair<WindowHandle, std::int32_t>, DialogItem> handles;
  return &handles.try_emplace({dialog, item}, DialogItem{dialog, item}).first->second;
}

std::int32_t ShowWindow(WindowHandle window, std::int32_t command) {
  ++state().showWindowCalls;
  if (window == nullptr) return 0;
  const DialogItem* item = static_cast<const DialogItem*>(window);
  bool& hidden = state().hiddenItems[{item->dialog, item->item}];
  const bool wasVisible = !hidden;
  hidden = (command == 0);
  return wasVisible ? 1 : 0;
}

std::int32_t MessageBoxA(WindowHandle, const char* text, const char* caption, std::uint32_t type) {
  if (state().messageBoxHook == nullptr) return 0;
  return state().messageBoxHook(text ? text : "", caption ? caption : "", type);
}

std::int32_t MessageBeep(std::uint32_t type) {
  ++state().beeps;
  state().lastBeepType = type;
  return 1;
}

WindowHandle GetActiveWindow() { return state().activeWindow; }

std::int32_t GetSystemMetrics(std::int32_t index) {
  if (index == 0) return state().screenWidth;
  if (index == 1) return state().screenHeight;
  return 0;
}

namespace {

// Decodes one UTF-8 sequence at text[i]; answers its code point and advances i,
// or answers -1 for an invalid, overlong or truncated sequence.
std::int32_t DecodeUtf8(const unsigned char* text, std::int32_t length, std::int32_t& i) {
  const unsigned char lead = text[i];
  std::int32_t extra;
  std::int32_t point;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    point = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    point = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    point = lead & 0x07;
  } else {
    return -1;
  }
  if (i + extra > length - 1) return -1;  // truncated sequence
  for (std::int32_t k = 1; k <= extra; ++k) {
    const unsigned char next = text[i + k];
    if ((next & 0xC0) != 0x80) return -1;
    point = (point << 6) | (next & 0x3F);
  }
  static const std::int32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (point < kSmallest[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return -1;
  i += extra + 1;
  return point;
}

}  // namespace

std::int32_t MultiByteToWideChar(std::uint32_t codePage, std::uint32_t, const char* text,
                                 std::int32_t length, char16_t* wide, std::int32_t wideLength) {
  if (codePage != kCodePageUtf8 || text == nullptr || wideLength < 0) return 0;
  if (length < 0) length = std::int32_t(std::strlen(text)) + 1;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  std::int32_t units = 0;
  for (std::int32_t i = 0; i < length;) {
    const std::int32_t point = DecodeUtf8(bytes, length, i);
    if (point < 0) return 0;
    const std::int32_t needed = point >= 0x10000 ? 2 : 1;
    if (wideLength > 0) {
      if (units + needed > wideLength) return 0;
      if (needed == 2) {
        wide[units] = char16_t(0xD800 + ((point - 0x10000) >> 10));
        wide[units + 1] = char16_t(0xDC00 + ((point - 0x10000) & 0x3FF));
      } else {
        wide[units] = char16_t(point);
      }
    }
    units += needed;
  }
  return units;
}

namespace substitute {

ModuleHandle RegisterModule(const char* name, ProcResolver resolver, void* context) {
  if (name == nullptr || *name == 0) return nullptr;
  for (Module* m : state().modules) {
    if (SameNameIgnoringCase(m->name, name)) {
      m->resolver = resolver;
      m->context = context;
      return m;
    }
  }
  Module* module = new Module{name, resolver, context};
  state().modules.push_back(module);
  return module;
}

void UnregisterModule(ModuleHandle module) {
  auto& modules = state().modules;
  for (auto it = modules.begin(); it != modules.end(); ++it) {
    if (*it == module) {
      delete *it;
      modules.erase(it);
      return;
    }
  }
}

std::uint32_t ModuleLookupCount() { return state().moduleLookups; }
std::uint32_t ProcLookupCount() { return state().procLookups; }

void SetStringResource(std::uint32_t id, const char* text) {
  if (text == nullptr)
    state().strings.erase(id);
  else
    state().strings[id] = text;
}

void ClearStringResources() { state().strings.clear(); }

void SetMessageBoxHook(MessageBoxHook hook) { state().messageBoxHook = hook; }

std::uint32_t BeepCount() { return state().beeps; }
std::uint32_t LastBeepType() { return state().lastBeepType; }

bool IsDialogItemVisible(WindowHandle dialog, std::int32_t item) {
  auto found = state().hiddenItems.find({dialog, item});
  return found == state().hiddenItems.end() || !found->second;
}

std::uint32_t ShowWindowCount() { return state().showWindowCalls; }

void SetActiveWindow(WindowHandle window) { state().activeWindow = window; }

void SetScreenSize(std::int32_t width, std::int32_t height) {
  state().screenWidth = width;
  state().screenHeight = height;
}

}  // namespace substitute
}  // namespace platform

#endif
