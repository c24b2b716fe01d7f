#include "zkexplodelayers/zkoptions.h"

#include <cstring>
#include <memory>

#include "tonaropdk/hkbinding.h"
#include "tonaropdk/hkservices.h"
#include "tonaroframework/foundation/pkstring.h"
#include "tonaroframework/utilities/pksettingspair.h"
#include "tonaroframework/utilities/pktextfilestream.h"

namespace {

// Size of the host's folder buffer.
constexpr std::size_t kHostPathSize = 260;
// HK_GetTonaroPath's code for the settings folder, before and from host 0x10000000 on.
constexpr std::int32_t kSettingsFolderBefore16 = 7;
constexpr std::int32_t kSettingsFolder = 15;
constexpr std::uint32_t kFirstVersionWithNewFolderCodes = 0x10000000;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

}  // namespace

bool ZKEqualIgnoringCase(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  for (; *a != 0 && *b != 0; ++a, ++b)
    if (LowerAscii(*a) != LowerAscii(*b)) return false;
  return *a == *b;
}

PKSettingsPairs* LoadAllZKOptionsPairs(bool prefs) {
  char folder[kHostPathSize];
  std::memset(folder, 0, sizeof folder);
  const std::int32_t which = GetTonaroFrameworkVersion() < kFirstVersionWithNewFolderCodes
                                 ? kSettingsFolderBefore16
                                 : kSettingsFolder;
  HK_GetTonaroPath(which, folder, kTonaroFrameworkVersion);
  folder[kHostPathSize - 1] = 0;  // whatever the host wrote, the text ends in the buffer

  PKTextFileStream stream;
  stream.SetDefaultFolder(folder);
  stream.GetFileName()->SetCString(prefs ? kZKPrefsFileName : kZKOptionsFileName);
  if (!stream.OpenRead()) return nullptr;
  std::unique_ptr<PKStrings> lines(stream.ReadStrings());
  stream.Close();

  std::unique_ptr<PKSettingsPairs> pairs(new PKSettingsPairs);
  pairs->AddFromLines(lines.get());
  return pairs.release();
}
