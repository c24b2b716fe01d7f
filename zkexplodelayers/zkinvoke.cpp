// The sixth export: one run of the command on the region the host passes in.
#include "tonaroframework/score/pkmusicregion.h"
#include "zkexplodelayers/pkexplodelayerprocessor.h"
#include "zkexplodelayers/zkexports.h"

extern "C" std::int32_t TONARO_CALL TonaroExtensionInvoke(std::int32_t, std::int32_t, EREGION* selection,
                                                          std::int32_t) {
  PKMusicRegion region(selection);
  PKExplodeLayerProcessor processor(&region);
  processor.LoadUserOptions();
  return processor.SplitChord() ? 1 : 0;
}
