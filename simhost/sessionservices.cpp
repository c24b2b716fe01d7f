// Services about the host session rather than the score: layers, documents,
// the settings folder, edits, dialogs.
#include <cstring>

#include "simhost/host.h"
#include "simhost/serviceentry.h"
#include "tonaropdk/hostabi.h"

namespace simhost {
namespace {

std::int32_t TONARO_CALL GetMaxLayers(std::uint32_t version) {
  if (!EnterService("HK_GetMaxLayers", version)) return 0;
  return Host::Current()->settings.maxLayersAnswer;
}

std::int32_t TONARO_CALL GetShowLayer(std::int32_t layer, std::uint32_t version) {
  if (!EnterService("HK_GetShowLayer", version)) return 0;
  const auto& hidden = Host::Current()->settings.hiddenLayers;
  if (layer < 0) return 0;
  return (std::size_t(layer) < hidden.size() && hidden[std::size_t(layer)]) ? 0 : 1;
}

std::int32_t TONARO_CALL GetCurrentDocument(std::uint32_t version) {
  if (!EnterService("HK_GetCurrentZorvanDocument", version)) return 0;
  return Host::Current()->settings.currentDocument;
}

// Fills the caller's 260-byte buffer with the settings folder.
std::int32_t TONARO_CALL GetTonaroPath(std::int32_t, char* path, std::uint32_t version) {
  if (!EnterService("HK_GetTonaroPath", version) || path == nullptr) return 0;
  const std::string& folder = Host::Current()->settings.settingsFolder;
  const std::size_t count = folder.size() < 259 ? folder.size() : 259;
  std::memcpy(path, folder.data(), count);
  path[count] = 0;
  return 1;
}

std::int32_t TONARO_CALL StartEdit(const char*, std::uint32_t version) {
  if (!EnterService("HK_StartTonaroEdit", version)) return 0;
  return Host::Current()->editAnswer;
}

std::int32_t TONARO_CALL EndEdit(std::uint32_t version) {
  if (!EnterService("HK_EndTonaroEdit", version)) return 0;
  return Host::Current()->editAnswer;
}

std::int32_t TONARO_CALL CancelEdit(std::uint32_t version) {
  if (!EnterService("HK_CancelTonaroEdit", version)) return 0;
  return Host::Current()->editAnswer;
}

std::int32_t TONARO_CALL ShowHideDlgItem(platform::WindowHandle, std::int32_t, std::int32_t,
                                         std::uint32_t version) {
  if (!EnterService("HK_ShowHideDlgItem", version)) return 0;
  return Host::Current()->dialogAnswer;
}

// Answers the dialog's item as the system knows it, the way the host does.
platform::WindowHandle TONARO_CALL GetDlgCntl(platform::WindowHandle dialog, std::int32_t item,
                                              std::uint32_t version) {
  if (!EnterService("HK_GetDlgCntl", version)) return nullptr;
  return platform::GetDlgItem(dialog, item);
}

std::int32_t TONARO_CALL AnalyzeChord(std::int32_t, std::int32_t, std::int32_t, std::uint32_t version) {
  if (!EnterService("HK_AnalyzeChord", version)) return 0;
  return 1;
}

const char* TONARO_CALL GetPartName(std::int32_t, std::uint32_t version) {
  if (!EnterService("HK_GetPartName", version)) return nullptr;
  return Host::Current()->settings.partName.c_str();
}

template <class Function>
ServiceEntry Service(const char* name, Function function) {
  return ServiceEntry{name, reinterpret_cast<platform::ProcAddress>(function)};
}

}  // namespace

void AppendSessionServices(std::vector<ServiceEntry>& services) {
  services.insert(services.end(), {
                                      Service("HK_GetMaxLayers", &GetMaxLayers),
                                      Service("HK_GetShowLayer", &GetShowLayer),
                                      Service("HK_GetCurrentZorvanDocument", &GetCurrentDocument),
                                      Service("HK_GetTonaroPath", &GetTonaroPath),
                                      Service("HK_StartTonaroEdit", &StartEdit),
                                      Service("HK_EndTonaroEdit", &EndEdit),
                                      Service("HK_CancelTonaroEdit", &CancelEdit),
                                      Service("HK_ShowHideDlgItem", &ShowHideDlgItem),
                                      Service("HK_GetDlgCntl", &GetDlgCntl),
                                      Service("HK_AnalyzeChord", &AnalyzeChord),
                                      Service("HK_GetPartName", &GetPartName),
                                  });
}

}  // namespace simhost
