#include "tonaropdk/hkservices.h"

#include "tonaropdk/cleantgf.h"

using namespace tonaropdk::binding;

// The plain wrappers: look up once, answer the default when missing, forward otherwise.
#define HK_UNPACK(...) __VA_ARGS__
#define HK_SERVICE(name, result, fallback, params, args)      \
  result::Type name params {                                  \
    static ServiceSlot service;                                  \
    return Call<result>(service, #name, fallback, HK_UNPACK args); \
  }
#define HK_CUSTOM(name, result, fallback, params, args)
#include "tonaropdk/hkservicetable.inc"
#undef HK_SERVICE
#undef HK_CUSTOM
#undef HK_UNPACK

namespace {

// Hosts up to this version have no dialog services of their own.
constexpr std::uint32_t kLastVersionWithoutDialogServices = 0x0B01FFFF;
// HK_AnalyzeChord is never asked for an older layout than this.
constexpr std::uint32_t kLowestChordAnalysisVersion = 0x0B000000;

}  // namespace

Short::Type HK_InsertEXENTRY(EXTGF2005a* frame, std::int16_t index, std::int16_t count,
                             std::uint32_t version) {
  static ServiceSlot service;
  CleanTGF(frame);
  return Call<Short>(service, "HK_InsertEXENTRY", 0, frame, index, count, version);
}

Short::Type HK_DeleteEXENTRY(EXTGF2005a* frame, std::int16_t index, std::int16_t count,
                             std::uint32_t version) {
  static ServiceSlot service;
  CleanTGF(frame);
  return Call<Short>(service, "HK_DeleteEXENTRY", 0, frame, index, count, version);
}

Short::Type HK_SaveTGF(EXTGF2005a* frame, std::uint32_t version) {
  static ServiceSlot service;
  CleanTGF(frame);
  return Call<Short>(service, "HK_SaveTGF", 0, frame, version);
}

Short::Type HK_ReduceEntries(EXTGF2005a* frame, std::uint32_t version) {
  static ServiceSlot service;
  CleanTGF(frame);
  return Call<Short>(service, "HK_ReduceEntries", 0, frame, version);
}

Whole::Type HK_StartTonaroEdit(const char* text, std::uint32_t version) {
  static ServiceSlot service;
  ++TonaroEditDepth;
  return Call<Whole>(service, "HK_StartTonaroEdit", 0, text, version);
}

Short::Type HK_EndTonaroEdit(std::uint32_t version) {
  static ServiceSlot service;
  if (TonaroEditDepth <= 0) return 1;
  --TonaroEditDepth;
  return Call<Short>(service, "HK_EndTonaroEdit", 0, version);
}

Whole::Type HK_CancelTonaroEdit(std::uint32_t version) {
  static ServiceSlot service;
  if (TonaroEditDepth <= 0) return 0;
  --TonaroEditDepth;
  return Call<Whole>(service, "HK_CancelTonaroEdit", 0, version);
}

Whole::Type HK_ShowHideDlgItem(platform::WindowHandle dialog, std::int32_t item, std::int16_t show,
                               std::uint32_t version) {
  static ServiceSlot service;
  if (version > kLastVersionWithoutDialogServices && FindService(service, "HK_ShowHideDlgItem") != nullptr)
    return Call<Whole>(service, "HK_ShowHideDlgItem", 0, dialog, item, show, version);
  return platform::ShowWindow(platform::GetDlgItem(dialog, item), show != 0 ? 1 : 0);
}

Handle::Type HK_GetDlgCntl(platform::WindowHandle dialog, std::int32_t item, std::uint32_t version) {
  static ServiceSlot service;
  if (version > kLastVersionWithoutDialogServices && FindService(service, "HK_GetDlgCntl") != nullptr)
    return Call<Handle>(service, "HK_GetDlgCntl", nullptr, dialog, item, version);
  return platform::GetDlgItem(dialog, item);
}

Short::Type HK_AnalyzeChord(std::int32_t a, std::int32_t b, std::int32_t c, std::uint32_t version) {
  static ServiceSlot service;
  if (version < kLowestChordAnalysisVersion) version = kLowestChordAnalysisVersion;
  return Call<Short>(service, "HK_AnalyzeChord", 0, a, b, c, version);
}
