// The services about the score's layout: staves and slots, measure lengths,
// the selection and whole-document regions, region actions (rebeaming,
// redrawing: accepted and logged) and the music clipboard.
#include <cstring>

#include "simhost/serviceentry.h"
#include "tonaropdk/hostabi.h"

namespace simhost {
namespace {

Host& CurrentHost() { return *Host::Current(); }

std::int32_t TONARO_CALL SlotToInst(std::int32_t slot, std::int32_t staffList, std::uint32_t version) {
  if (!EnterService("HK_SlotToInst", version)) return 0;
  return CurrentHost().document.SlotToStaff(std::int16_t(slot), std::uint16_t(staffList));
}

std::int32_t TONARO_CALL InstToSlot(std::int32_t staff, std::int32_t staffList, std::uint32_t version) {
  if (!EnterService("HK_InstToSlot", version)) return 0;
  return CurrentHost().document.StaffToSlot(std::int16_t(staff), std::uint16_t(staffList));
}

std::int32_t TONARO_CALL GetMeasureDuration(std::int32_t staff, std::int32_t measure, std::uint32_t version) {
  if (!EnterService("HK_GetMeasureDuration", version)) return 0;
  return CurrentHost().document.MeasureDuration(std::int16_t(staff), std::int16_t(measure));
}

bool IsEmptyRegion(const EREGION& region) { return region.startMeasure == 0 && region.endMeasure == 0; }

// Fills both regions; answers 0 when nothing is selected.
std::int32_t TONARO_CALL GetCurERegions(std::int32_t* unused, EREGION* selection, EREGION* document,
                                        std::uint32_t version) {
  if (!EnterService("HK_GetCurERegions", version)) return 0;
  Host& host = CurrentHost();
  if (unused != nullptr) *unused = 0;
  if (selection != nullptr) *selection = host.document.Selection();
  if (document != nullptr) *document = host.document.WholeDocument();
  return IsEmptyRegion(host.document.Selection()) ? 0 : 1;
}

// Logs a region passed to one of the region actions; false when the call is to fail.
bool LogRegion(const char* service, const EREGION* region, std::uint32_t version) {
  if (!EnterService(service, version) || region == nullptr) return false;
  CurrentHost().regionCalls.push_back(Host::RegionCall{service, *region});
  return true;
}

std::int32_t TONARO_CALL SetCurERegion(EREGION* region, std::uint32_t version) {
  if (!LogRegion("HK_SetCurERegion", region, version)) return 0;
  CurrentHost().document.SetSelection(*region);
  return 1;
}

std::int32_t TONARO_CALL RebeamRegion(EREGION* region, std::int32_t, std::uint32_t version) {
  return LogRegion("HK_RebeamRegion", region, version) ? 1 : 0;
}

std::int32_t TONARO_CALL RedrawMusic(EREGION* region, std::uint32_t version) {
  return LogRegion("HK_RedrawMusic", region, version) ? 1 : 0;
}

// Mode 1 copies, mode 2 cuts; answers the clip's token or 0.
std::int32_t TONARO_CALL CopyCutMusic(void* request, std::int32_t mode, std::uint32_t version) {
  if (!EnterService("HK_CopyCutMusic", version) || request == nullptr || (mode != 1 && mode != 2)) return 0;
  MusicClipRequest clip;
  std::memcpy(&clip, request, sizeof(clip));
  Host& host = CurrentHost();
  return host.clipboard.Copy(host.document, clip.region, mode == 2);
}

std::int32_t TONARO_CALL InsertMergeMusic(std::int32_t token, void* request, std::int32_t, std::uint32_t version) {
  if (!EnterService("HK_InsertMergeMusic", version) || request == nullptr) return 0;
  MusicClipRequest clip;
  std::memcpy(&clip, request, sizeof(clip));
  Host& host = CurrentHost();
  return host.clipboard.Paste(host.document, token, clip.region) ? 1 : 0;
}

std::int32_t TONARO_CALL DisposeTonClipFileToken(std::int32_t token, std::uint32_t version) {
  if (!EnterService("HK_DisposeTonClipFileToken", version)) return 0;
  return CurrentHost().clipboard.Dispose(token) ? 1 : 0;
}

}  // namespace

void AppendScoreServices(std::vector<ServiceEntry>& services) {
  services.insert(services.end(), {
                                      MakeService("HK_SlotToInst", &SlotToInst),
                                      MakeService("HK_InstToSlot", &InstToSlot),
                                      MakeService("HK_GetMeasureDuration", &GetMeasureDuration),
                                      MakeService("HK_GetCurERegions", &GetCurERegions),
                                      MakeService("HK_SetCurERegion", &SetCurERegion),
                                      MakeService("HK_RebeamRegion", &RebeamRegion),
                                      MakeService("HK_RedrawMusic", &RedrawMusic),
                                      MakeService("HK_CopyCutMusic", &CopyCutMusic),
                                      MakeService("HK_InsertMergeMusic", &InsertMergeMusic),
                                      MakeService("HK_DisposeTonClipFileToken", &DisposeTonClipFileToken),
                                  });
}

}  // namespace simhost
