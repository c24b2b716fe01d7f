// The service wrappers against the substitute host. Every case runs in a
// process of its own, since each lookup happens once per process.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/substitute.h"
#include "simhost/host.h"
#include "simhost/testservices.h"
#include "tonaropdk/hkservices.h"

namespace {

using simhost::probe::LastReceived;
using Slots = std::vector<std::uint64_t>;

constexpr std::uint32_t kVersion = kTonaroFrameworkVersion;

std::uint64_t Address(const void* pointer) { return std::uint64_t(reinterpret_cast<std::uintptr_t>(pointer)); }

// A stand-in dialog: any address will do as its window handle.
platform::WindowHandle TestDialog() {
  static int dialog;
  return &dialog;
}

// One wrapper with an integer result, called the way the library calls it,
// and what it answers when the host lacks its service.
struct DefaultCase {
  const char* service;
  std::function<std::int64_t()> call;
  std::int64_t expected;
};

const std::vector<DefaultCase>& DefaultCases() {
  static const std::vector<DefaultCase> cases = {
      {"HK_GetMaxLayers", [] { return HK_GetMaxLayers(kVersion); }, 4},
      {"HK_GetCurrentZorvanDocument", [] { return HK_GetCurrentZorvanDocument(kVersion); }, 0},
      {"HK_SetCurrentZorvanDocument", [] { return HK_SetCurrentZorvanDocument(1, kVersion); }, 0},
      {"HK_SetCurERegion", [] { return HK_SetCurERegion(nullptr, kVersion); }, 0},
      {"HK_ExecuteMenuItem", [] { return HK_ExecuteMenuItem(1, kVersion); }, 0},
      {"HK_SetCurrentPartID", [] { return HK_SetCurrentPartID(1, kVersion); }, 0},
      {"HK_CopyCutMusic", [] { return HK_CopyCutMusic(nullptr, 1, kVersion); }, 0},
      {"HK_InsertMergeMusic", [] { return HK_InsertMergeMusic(1, nullptr, 1, kVersion); }, 0},
      {"HK_DisposeTonClipFileToken", [] { return HK_DisposeTonClipFileToken(1, kVersion); }, 0},
      {"HK_AutoRehearsalInsert", [] { return HK_AutoRehearsalInsert(1, 1, 1, 1, 1, kVersion); }, 0},
      {"HK_GetCurrentPartID", [] { return HK_GetCurrentPartID(kVersion); }, -1},
      {"HK_GetNextPartID", [] { return HK_GetNextPartID(0, kVersion); }, -1},
      {"HK_ProcessMidiData", [] { return HK_ProcessMidiData(0, kVersion); }, -1},
      {"HK_CountParts", [] { return HK_CountParts(kVersion); }, -1},
      {"HK_GetPlaybackSystem", [] { return HK_GetPlaybackSystem(kVersion); }, -1},
      {"HK_GetTextEncoding", [] { return HK_GetTextEncoding(kVersion); }, -2},
      // Services the library relies on the host to provide answer 0.
      {"HK_SlotToInst", [] { return HK_SlotToInst(0, 0, kVersion); }, 0},
      {"HK_GetShowLayer", [] { return HK_GetShowLayer(0, kVersion); }, 0},
      {"HK_FreeTGF", [] { return HK_FreeTGF(nullptr, kVersion); }, 0},
      {"HK_DeleteEData", [] { return HK_DeleteEData(0, nullptr, kVersion); }, 0},
  };
  return cases;
}

// Every wrapper of DefaultCases, HK_GetTonaroPath, HK_LoadTGF and
// HK_GetPartName answers its default without reaching the host.
void ExpectDefaults(simhost::Host& host) {
  for (const DefaultCase& c : DefaultCases()) EXPECT_EQ(c.expected, c.call()) << c.service;

  char path[260];
  std::memset(path, 'x', sizeof path);
  EXPECT_EQ(0, HK_GetTonaroPath(7, path, kVersion));
  EXPECT_EQ('x', path[0]) << "the buffer is left alone";
  EXPECT_EQ(nullptr, HK_LoadTGF(0, 0, 1, 0, 1, kVersion));
  EXPECT_STREQ(" ", HK_GetPartName(0, kVersion));

  EXPECT_TRUE(host.CallLog().empty());
}

void WithholdDefaultCases(simhost::Host& host) {
  for (const DefaultCase& c : DefaultCases()) host.Withhold(c.service);
  for (const char* service : {"HK_GetTonaroPath", "HK_LoadTGF", "HK_GetPartName"}) host.Withhold(service);
}

TEST(Binding, MissingServiceAnswersItsDefault) {
  simhost::Host host;
  host.Withhold("HK_GetMaxLayers");
  EXPECT_EQ(4, HK_GetMaxLayers(kTonaroFrameworkVersion));
  EXPECT_EQ(0u, host.CallCount("HK_GetMaxLayers"));
}

TEST(Binding, MissingServicesAnswerTheirDefaults) {
  simhost::Host host;
  WithholdDefaultCases(host);
  ExpectDefaults(host);
}

TEST(Binding, WithNoHostModuleEveryWrapperAnswersItsDefault) {
  simhost::Host host(nullptr);
  EXPECT_EQ(nullptr, GetTonaroHandle());
  ExpectDefaults(host);
  // The Windows fallbacks and the edit depth do not need the host.
  EXPECT_EQ(1, HK_ShowHideDlgItem(TestDialog(), 3, 0, kVersion));
  EXPECT_FALSE(platform::substitute::IsDialogItemVisible(TestDialog(), 3));
  EXPECT_EQ(platform::GetDlgItem(TestDialog(), 3), HK_GetDlgCntl(TestDialog(), 3, kVersion));
  EXPECT_EQ(0, HK_StartTonaroEdit("edit", kVersion));
  EXPECT_EQ(1, TonaroEditDepth);
  EXPECT_TRUE(host.CallLog().empty());
}

TEST(Binding, ShortResultKeepsTheLowHalfSignExtended) {
  simhost::Host host;
  host.settings.maxLayersAnswer = std::int32_t(0x7ABC0006);
  EXPECT_EQ(6, HK_GetMaxLayers(kTonaroFrameworkVersion));
  host.settings.maxLayersAnswer = std::int32_t(0x0001FFFF);
  EXPECT_EQ(-1, HK_GetMaxLayers(kTonaroFrameworkVersion));
}

TEST(Binding, ResultsAreNarrowedAsEachServiceSays) {
  simhost::Host host;
  host.StandIn("HK_GetCurrentPartID", simhost::probe::Service<std::uint32_t>());
  host.StandIn("HK_DisposeTonClipFileToken", simhost::probe::Service<std::uint32_t, std::uint32_t>());
  host.StandIn("HK_CountParts", simhost::probe::Service<std::uint32_t>());
  // No host service answers an unsigned short: the mechanism is asked directly.
  host.StandIn("HK_UnsignedShortAnswer", simhost::probe::Service<std::uint32_t>());
  tonaropdk::binding::ServiceSlot unsignedShortService{};
  auto unsignedShortAnswer = [&] {
    return tonaropdk::binding::Call<tonaropdk::binding::UShort>(unsignedShortService, "HK_UnsignedShortAnswer",
                                                                0, kVersion);
  };

  struct Case {
    std::uint32_t answer;
    std::int16_t asShort;
    std::uint16_t asUnsignedShort;
    std::uint8_t asByte;
  };
  const Case cases[] = {
      {0x7ABC0006, 6, 6, 6},
      {0x0001FFFF, -1, 0xFFFF, 0xFF},
      {0xFFFF8000, -32768, 0x8000, 0x00},
      {0x00000180, 0x0180, 0x0180, 0x80},
      {0x12340000, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.answer);
    simhost::probe::SetAnswer(c.answer);
    EXPECT_EQ(c.asShort, HK_GetCurrentPartID(kVersion));
    EXPECT_EQ(c.asUnsignedShort, unsignedShortAnswer());
    EXPECT_EQ(c.asByte, HK_DisposeTonClipFileToken(1, kVersion));
    EXPECT_EQ(std::int32_t(c.answer), HK_CountParts(kVersion));
  }
  EXPECT_EQ(4u * std::size(cases), LastReceived().calls);
}

TEST(Binding, ArgumentsTravelWidenedTo32BitSlots) {
  simhost::Host host;
  host.StandIn("HK_SlotToInst", simhost::probe::Service<std::uint32_t, std::uint32_t, std::uint32_t>());
  host.StandIn("HK_InsertMergeMusic",
               simhost::probe::Service<std::uint32_t, void*, std::uint32_t, std::uint32_t>());
  host.StandIn("HK_AlertMessage", simhost::probe::Service<std::uint32_t, std::uint32_t, std::uint32_t,
                                                          const char*, std::uint32_t>());
  host.StandIn("HK_GetEntryMetrics",
               simhost::probe::Service<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                                       std::uint32_t, std::uint32_t>());

  // A short is sign-extended, an unsigned short zero-extended.
  struct SlotCase {
    std::int16_t slot;
    std::uint16_t staffList;
    Slots expected;
  };
  const SlotCase slotCases[] = {
      {-2, 0xFFFE, {0xFFFFFFFE, 0x0000FFFE, kVersion}},
      {-32768, 0x8000, {0xFFFF8000, 0x00008000, kVersion}},
      {0x7FFF, 0xFFFF, {0x00007FFF, 0x0000FFFF, kVersion}},
      {1, 0, {1, 0, kVersion}},
  };
  for (const SlotCase& c : slotCases) {
    HK_SlotToInst(c.slot, c.staffList, kVersion);
    EXPECT_EQ(c.expected, LastReceived().slots) << "slot " << c.slot << ", staff list " << c.staffList;
  }

  // A byte is zero-extended.
  int request = 0;
  for (std::uint8_t merge : {std::uint8_t(0xFF), std::uint8_t(0x80), std::uint8_t(1)}) {
    HK_InsertMergeMusic(-1, &request, merge, kVersion);
    EXPECT_EQ((Slots{0xFFFFFFFF, Address(&request), merge, kVersion}), LastReceived().slots);
  }

  const char text[] = "message";
  HK_AlertMessage(-5, 0xFFFF, 7, text, kVersion);
  EXPECT_EQ((Slots{0xFFFFFFFB, 0x0000FFFF, 7, Address(text), kVersion}), LastReceived().slots);

  HK_GetEntryMetrics(-1, -32768, -1, 0x12345678, 0, -3, kVersion);
  EXPECT_EQ((Slots{0xFFFFFFFF, 0xFFFF8000, 0xFFFFFFFF, 0x12345678, 0, 0xFFFFFFFD, kVersion}),
            LastReceived().slots);
}

TEST(Binding, OneLookupPerProcessWhetherFoundOrNot) {
  simhost::Host host;
  host.Withhold("HK_GetShowLayer");
  const std::uint32_t before = platform::substitute::ProcLookupCount();
  HK_GetMaxLayers(kTonaroFrameworkVersion);
  HK_GetShowLayer(0, kTonaroFrameworkVersion);
  EXPECT_EQ(before + 2, platform::substitute::ProcLookupCount());
  HK_GetMaxLayers(kTonaroFrameworkVersion);
  HK_GetShowLayer(0, kTonaroFrameworkVersion);
  EXPECT_EQ(before + 2, platform::substitute::ProcLookupCount());
  EXPECT_EQ(2u, host.CallCount("HK_GetMaxLayers"));
}

TEST(Binding, AServiceMissingAtItsFirstCallStaysMissing) {
  {
    simhost::Host absent(nullptr);
    EXPECT_EQ(4, HK_GetMaxLayers(kVersion));
  }
  simhost::Host host;
  host.settings.maxLayersAnswer = 3;
  EXPECT_EQ(4, HK_GetMaxLayers(kVersion));
  EXPECT_EQ(0u, host.CallCount("HK_GetMaxLayers"));
  EXPECT_EQ(nullptr, GetTonaroHandle()) << "the module is not looked up again";
}

TEST(Binding, HostModuleIsLookedUpOnce) {
  simhost::Host host;
  const std::uint32_t before = platform::substitute::ModuleLookupCount();
  const platform::ModuleHandle module = GetTonaroHandle();
  EXPECT_NE(nullptr, module);
  EXPECT_EQ(before + 1, platform::substitute::ModuleLookupCount()) << "\"TONARO.EXE\" answers at once";
  HK_GetMaxLayers(kVersion);
  HK_GetShowLayer(0, kVersion);
  EXPECT_EQ(module, GetTonaroHandle());
  EXPECT_EQ(before + 1, platform::substitute::ModuleLookupCount());
  EXPECT_EQ(module, platform::GetModuleHandleA("TONARO.EXE"));
}

TEST(Binding, MissingHostModuleIsLookedUpOnceUnderEachName) {
  simhost::Host host(nullptr);
  const std::uint32_t before = platform::substitute::ModuleLookupCount();
  EXPECT_EQ(nullptr, GetTonaroHandle());
  EXPECT_EQ(before + 2, platform::substitute::ModuleLookupCount());
  EXPECT_EQ(nullptr, GetTonaroHandle());
  HK_GetMaxLayers(kVersion);
  EXPECT_EQ(before + 2, platform::substitute::ModuleLookupCount());
}

TEST(Binding, HostRunningAsVadovadIsFound) {
  simhost::Host host(simhost::Host::kOtherModuleName);
  host.settings.maxLayersAnswer = 3;
  EXPECT_EQ(3, HK_GetMaxLayers(kVersion));
  EXPECT_EQ(1u, host.CallCount("HK_GetMaxLayers"));
  EXPECT_EQ(platform::GetModuleHandleA("VADOVAD.EXE"), GetTonaroHandle());
}

TEST(Binding, TonaroModuleIsPreferredToVadovad) {
  simhost::Host other(simhost::Host::kOtherModuleName);
  simhost::Host host;
  const platform::ModuleHandle tonaro = platform::GetModuleHandleA("TONARO.EXE");
  ASSERT_NE(platform::GetModuleHandleA("VADOVAD.EXE"), tonaro);
  EXPECT_EQ(tonaro, GetTonaroHandle());
}

TEST(EditDepth, StartCountsAndAnswersTheHostsWholeResult) {
  simhost::Host host;
  host.editAnswer = 0x12345678;
  EXPECT_EQ(0x12345678, HK_StartTonaroEdit("edit", kVersion));
  EXPECT_EQ(1, TonaroEditDepth);
  EXPECT_EQ(0x12345678, HK_StartTonaroEdit("nested", kVersion));
  EXPECT_EQ(2, TonaroEditDepth);
  EXPECT_EQ(2u, host.CallCount("HK_StartTonaroEdit"));
}

TEST(EditDepth, EndTwiceAfterOneStartCallsTheHostOnce) {
  simhost::Host host;
  host.editAnswer = 0x7FFF0003;
  HK_StartTonaroEdit("edit", kVersion);
  EXPECT_EQ(3, HK_EndTonaroEdit(kVersion)) << "the low 16 bits of the host's answer";
  EXPECT_EQ(0, TonaroEditDepth);
  EXPECT_EQ(1, HK_EndTonaroEdit(kVersion));
  EXPECT_EQ(0, TonaroEditDepth);
  EXPECT_EQ(1u, host.CallCount("HK_EndTonaroEdit"));
}

TEST(EditDepth, CancelWithNoEditOpenDoesNotCallTheHost) {
  simhost::Host host;
  host.editAnswer = 0x12345678;
  EXPECT_EQ(0, HK_CancelTonaroEdit(kVersion));
  EXPECT_EQ(0u, host.CallCount("HK_CancelTonaroEdit"));
  EXPECT_EQ(0, TonaroEditDepth);
  HK_StartTonaroEdit("edit", kVersion);
  EXPECT_EQ(0x12345678, HK_CancelTonaroEdit(kVersion)) << "the host's whole answer";
  EXPECT_EQ(0, TonaroEditDepth);
  EXPECT_EQ(0, HK_CancelTonaroEdit(kVersion));
  EXPECT_EQ(1u, host.CallCount("HK_CancelTonaroEdit"));
  EXPECT_EQ(0, TonaroEditDepth);
}

TEST(EditDepth, CountedAlsoWhenTheHostLacksTheServices) {
  simhost::Host host;
  for (const char* service : {"HK_StartTonaroEdit", "HK_EndTonaroEdit", "HK_CancelTonaroEdit"})
    host.Withhold(service);
  EXPECT_EQ(0, HK_StartTonaroEdit("edit", kVersion));
  EXPECT_EQ(0, HK_StartTonaroEdit("nested", kVersion));
  EXPECT_EQ(2, TonaroEditDepth);
  EXPECT_EQ(0, HK_EndTonaroEdit(kVersion));
  EXPECT_EQ(1, TonaroEditDepth);
  EXPECT_EQ(0, HK_CancelTonaroEdit(kVersion));
  EXPECT_EQ(0, TonaroEditDepth);
  EXPECT_EQ(1, HK_EndTonaroEdit(kVersion));
  EXPECT_EQ(0, HK_CancelTonaroEdit(kVersion));
  EXPECT_EQ(0, TonaroEditDepth) << "never below 0";
  EXPECT_TRUE(host.CallLog().empty());
}

TEST(DialogItems, UpToVersion0B01FFFFTheLibraryShowsAndHidesItself) {
  simhost::Host host;
  const std::uint32_t lookups = platform::substitute::ProcLookupCount();
  const std::uint32_t shows = platform::substitute::ShowWindowCount();
  for (std::uint32_t version : {0x0B01FFFFu, 0x0A000000u, 0u}) {
    SCOPED_TRACE(testing::Message() << std::hex << version);
    EXPECT_EQ(1, HK_ShowHideDlgItem(TestDialog(), 4, 0, version)) << "answers that it was visible";
    EXPECT_FALSE(platform::substitute::IsDialogItemVisible(TestDialog(), 4));
    EXPECT_EQ(0, HK_ShowHideDlgItem(TestDialog(), 4, -2, version)) << "any nonzero value shows";
    EXPECT_TRUE(platform::substitute::IsDialogItemVisible(TestDialog(), 4));
    EXPECT_EQ(platform::GetDlgItem(TestDialog(), 4), HK_GetDlgCntl(TestDialog(), 4, version));
  }
  EXPECT_EQ(shows + 6, platform::substitute::ShowWindowCount());
  EXPECT_EQ(lookups, platform::substitute::ProcLookupCount()) << "the host is not even asked";
  EXPECT_TRUE(host.CallLog().empty());
}

TEST(DialogItems, LaterVersionsForwardToTheHost) {
  simhost::Host host;
  host.dialogAnswer = 0x00050007;
  const std::uint32_t shows = platform::substitute::ShowWindowCount();
  for (std::uint32_t version : {0x0B020000u, 0x0F000200u}) {
    SCOPED_TRACE(testing::Message() << std::hex << version);
    EXPECT_EQ(0x00050007, HK_ShowHideDlgItem(TestDialog(), 4, 0, version)) << "the host's whole answer";
    EXPECT_EQ(version, host.LastVersion("HK_ShowHideDlgItem"));
    EXPECT_EQ(platform::GetDlgItem(TestDialog(), 4), HK_GetDlgCntl(TestDialog(), 4, version));
    EXPECT_EQ(version, host.LastVersion("HK_GetDlgCntl"));
  }
  EXPECT_TRUE(platform::substitute::IsDialogItemVisible(TestDialog(), 4));
  EXPECT_EQ(shows, platform::substitute::ShowWindowCount());
  EXPECT_EQ(2u, host.CallCount("HK_ShowHideDlgItem"));
  EXPECT_EQ(2u, host.CallCount("HK_GetDlgCntl"));
}

TEST(DialogItems, LaterVersionsFallBackWhenTheHostLacksTheServices) {
  simhost::Host host;
  host.Withhold("HK_ShowHideDlgItem");
  host.Withhold("HK_GetDlgCntl");
  EXPECT_EQ(1, HK_ShowHideDlgItem(TestDialog(), 8, 0, kVersion));
  EXPECT_FALSE(platform::substitute::IsDialogItemVisible(TestDialog(), 8));
  EXPECT_EQ(platform::GetDlgItem(TestDialog(), 8), HK_GetDlgCntl(TestDialog(), 8, kVersion));
  EXPECT_EQ(nullptr, HK_GetDlgCntl(nullptr, 8, kVersion)) << "no dialog, no item";
}

TEST(ChordAnalysis, VersionIsRaisedTo0B000000) {
  simhost::Host host;
  struct Case {
    std::uint32_t given;
    std::uint32_t passed;
  };
  const Case cases[] = {
      {0x0A000000, 0x0B000000}, {0, 0x0B000000},          {0x0AFFFFFF, 0x0B000000},
      {0x0B000000, 0x0B000000}, {0x0F000200, 0x0F000200}, {0xFFFFFFFF, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    HK_AnalyzeChord(1, 2, 3, c.given);
    EXPECT_EQ(c.passed, host.LastVersion("HK_AnalyzeChord")) << std::hex << c.given;
  }
  EXPECT_EQ(std::size(cases), host.CallCount("HK_AnalyzeChord"));
}

TEST(PartName, MissingServiceAnswersASingleSpace) {
  simhost::Host host;
  host.Withhold("HK_GetPartName");
  EXPECT_STREQ(" ", HK_GetPartName(1, kVersion));
}

TEST(PartName, HostsTextIsAnsweredAsItIs) {
  simhost::Host host;
  host.settings.partName = "Flute 1";
  EXPECT_STREQ("Flute 1", HK_GetPartName(1, kVersion));
}

}  // namespace
