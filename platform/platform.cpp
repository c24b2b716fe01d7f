// On Windows every call forwards to the system. Elsewhere substitute.cpp
// answers them.
#include "platform/platform.h"

#if defined(_WIN32)
#include <windows.h>

namespace platform {

ModuleHandle GetModuleHandleA(const char* name) { return ::GetModuleHandleA(name); }

ProcAddress GetProcAddress(ModuleHandle module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<ProcAddress>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

std::int32_t LoadStringA(ModuleHandle module, std::uint32_t id, char* buffer, std::int32_t size) {
  return ::LoadStringA(static_cast<HINSTANCE>(module), id, buffer, size);
}

WindowHandle GetDlgItem(WindowHandle dialog, std::int32_t item) {
  return ::GetDlgItem(static_cast<HWND>(dialog), item);
}

std::int32_t ShowWindow(WindowHandle window, std::int32_t command) {
  return ::ShowWindow(static_cast<HWND>(window), command);
}

std::int32_t MessageBoxA(WindowHandle owner, const char* text, const char* caption, std::uint32_t type) {
  return ::MessageBoxA(static_cast<HWND>(owner), text, caption, type);
}

std::int32_t MessageBeep(std::uint32_t type) { return ::MessageBeep(type); }

WindowHandle GetActiveWindow() { return ::GetActiveWindow(); }

std::int32_t GetSystemMetrics(std::int32_t index) { return ::GetSystemMetrics(index); }

std::int32_t MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* text,
                                 std::int32_t length, char16_t* wide, std::int32_t wideLength) {
  return ::MultiByteToWideChar(codePage, flags, text, length, reinterpret_cast<wchar_t*>(wide),
                               wideLength);
}

}  // namespace platform

#endif
