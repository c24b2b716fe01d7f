// The version handshake sets the version the host-interface layer reports.
#include <gtest/gtest.h>

#include "tonaropdk/hkbinding.h"
#include "zkexplodelayers/zkexports.h"

namespace {

TEST(RunningVersion, KeepsItsBuiltInValueUntilTheHandshake) {
  EXPECT_EQ(0x0F000200u, GetTonaroFrameworkVersion());
}

TEST(RunningVersion, HandshakeSetsIt) {
  EXPECT_EQ(std::int32_t(0x10000000), TonaroExtensionVersion(0x10000000u));
  EXPECT_EQ(0x10000000u, GetTonaroFrameworkVersion());
  EXPECT_EQ(0x10000000u, RunningTonaroVersion);
  TonaroExtensionVersion(0x0B000000u);
  EXPECT_EQ(0x0B000000u, GetTonaroFrameworkVersion());
}

}  // namespace
