// The service wrappers against the substitute host. Every case runs in a
// process of its own, since each lookup happens once per process.
#include <gtest/gtest.h>

#include "platform/substitute.h"
#include "simhost/host.h"
#include "tonaropdk/hkservices.h"

namespace {

TEST(Binding, MissingServiceAnswersItsDefault) {
  simhost::Host host;
  host.Withhold("HK_GetMaxLayers");
  EXPECT_EQ(4, HK_GetMaxLayers(kTonaroFrameworkVersion));
  EXPECT_EQ(0u, host.CallCount("HK_GetMaxLayers"));
}

TEST(Binding, ShortResultKeepsTheLowHalfSignExtended) {
  simhost::Host host;
  host.settings.maxLayersAnswer = std::int32_t(0x7ABC0006);
  EXPECT_EQ(6, HK_GetMaxLayers(kTonaroFrameworkVersion));
  host.settings.maxLayersAnswer = std::int32_t(0x0001FFFF);
  EXPECT_EQ(-1, HK_GetMaxLayers(kTonaroFrameworkVersion));
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

}  // namespace
