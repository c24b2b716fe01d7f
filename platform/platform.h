// The system calls the library makes: module and symbol lookup, string
// resources, message boxes and dialog items, text conversion. On Windows they
// forward to the system; elsewhere they are answered by the substitute of
// platform/substitute.h.
#pragma once

#include <cstdint>

namespace platform {

using ModuleHandle = void*;
using WindowHandle = void*;
using ProcAddress = void (*)();

// Code page of UTF-8 for MultiByteToWideChar.
constexpr std::uint32_t kCodePageUtf8 = 65001;

// Answers the loaded module of that name (case-insensitive), or null.
ModuleHandle GetModuleHandleA(const char* name);

// Answers the address the module exports under that name, or null.
ProcAddress GetProcAddress(ModuleHandle module, const char* name);

// Copies string resource `id` of the module into `buffer` (at most size-1
// bytes and a terminating zero); answers the length copied, 0 when missing.
std::int32_t LoadStringA(ModuleHandle module, std::uint32_t id, char* buffer, std::int32_t size);

// Answers the child window `item` of a dialog, or null.
WindowHandle GetDlgItem(WindowHandle dialog, std::int32_t item);

// Shows (command 1) or hides (command 0) a window; answers whether it was visible.
std::int32_t ShowWindow(WindowHandle window, std::int32_t command);

// Shows a message box; answers the button chosen, 0 on failure.
std::int32_t MessageBoxA(WindowHandle owner, const char* text, const char* caption, std::uint32_t type);

// Plays the alert sound of that type; answers nonzero on success.
std::int32_t MessageBeep(std::uint32_t type);

// Answers the active window, or null.
WindowHandle GetActiveWindow();

// Answers the system metric of that index (screen width 0, height 1), 0 if unknown.
std::int32_t GetSystemMetrics(std::int32_t index);

// Converts `length` bytes of `text` (-1: up to and including its zero) in the
// code page to 16-bit units. With wideLength 0 answers the units needed;
// answers 0 for invalid input or a buffer too small.
std::int32_t MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* text,
                                 std::int32_t length, char16_t* wide, std::int32_t wideLength);

}  // namespace platform
