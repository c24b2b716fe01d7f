// A score in the substitute host, the real plug-in reached through its
// exports, and a private settings folder: the setting of every end-to-end
// test of the command.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "simhost/host.h"
#include "simhost/scorebuilder.h"
#include "simhost/snapshot.h"
#include "tests/support/pluginlibrary.h"
#include "tests/support/tempfolder.h"
#include "tonaropdk/eregion.h"

namespace e2e {

class ExplodeFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin.loaded()) << plugin.error();
    ASSERT_NE(nullptr, plugin.invoke) << "the plug-in exports no TonaroExtensionInvoke";
    ASSERT_FALSE(settings.Path().empty());
    host.settings.settingsFolder = settings.Path();
  }
  void TearDown() override { EXPECT_EQ(0, host.OutstandingFrames()) << "frames left loaded"; }

  // Runs the command on a region as the host does; answers its result.
  std::int32_t Explode(EREGION region) { return plugin.invoke(0, 0, &region, 0); }
  // Runs the command on whole measures of a run of slots.
  std::int32_t Explode(std::int16_t firstSlot, std::int16_t lastSlot, std::int16_t firstMeasure,
                       std::int16_t lastMeasure) {
    return Explode(simhost::Document::MakeRegion(firstSlot, lastSlot, firstMeasure, lastMeasure));
  }

  // The layer (1 to 4) of a staff in a measure, in the builder's notation.
  std::string Layer(std::int16_t staff, std::int16_t measure, std::int16_t layer) const {
    return score.Describe(staff, measure, layer);
  }
  // The stored entry `index` of a layer (1 to 4).
  const EXENTRY& Entry(std::int16_t staff, std::int16_t measure, std::int16_t layer, std::size_t index) const {
    return score.Entries(staff, measure, layer).at(index);
  }

  // Writes the command's options file.
  void WriteOptions(const std::string& text) const { settings.Write("zkpluginoptions.txt", text); }

  simhost::Host host;
  simhost::ScoreBuilder score{host.document};
  testsupport::TempFolder settings;
  testsupport::PluginLibrary plugin;
};

}  // namespace e2e
