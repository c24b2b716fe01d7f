// The substitute for the system outside Windows. A host program makes itself
// findable under a module name and answers symbol names with addresses; tests
// fill the string table, watch message boxes and dialog items, and count
// lookups. None of this exists on Windows, where the system answers.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace platform::substitute {

// Answers the address of a named symbol of the module, or null.
using ProcResolver = ProcAddress (*)(void* context, const char* name);

// Makes a module findable by GetModuleHandleA under `name`; answers its handle,
// null if the name is empty. A second registration under a name replaces the first.
ModuleHandle RegisterModule(const char* name, ProcResolver resolver, void* context);

// Removes the module; later lookups of its name answer null.
void UnregisterModule(ModuleHandle module);

// Number of GetModuleHandleA and GetProcAddress calls made in this process.
std::uint32_t ModuleLookupCount();
std::uint32_t ProcLookupCount();

// Sets (or with null text removes) string resource `id` of every module.
void SetStringResource(std::uint32_t id, const char* text);
void ClearStringResources();

// Called by MessageBoxA instead of showing anything; answers the button.
using MessageBoxHook = std::int32_t (*)(const char* text, const char* caption, std::uint32_t type);
void SetMessageBoxHook(MessageBoxHook hook);

// Number of MessageBeep calls and the type of the last one.
std::uint32_t BeepCount();
std::uint32_t LastBeepType();

// Visibility of dialog item `item` of `dialog` as ShowWindow left it
// (items start visible); the number of ShowWindow calls made.
bool IsDialogItemVisible(WindowHandle dialog, std::int32_t item);
std::uint32_t ShowWindowCount();

// The window GetActiveWindow answers, and the screen size GetSystemMetrics answers.
void SetActiveWindow(WindowHandle window);
void SetScreenSize(std::int32_t width, std::int32_t height);

}  // namespace platform::substitute
