// The handshake and the menu, through the plug-in's exports as the host calls them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/pluginlibrary.h"

namespace {

constexpr std::size_t kHostRecordSize = 256;
constexpr unsigned char kUntouched = 0xA5;

class Handshake : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(plugin.loaded()) << plugin.error(); }
  testsupport::PluginLibrary plugin;
};

std::string TextField(const std::vector<unsigned char>& record, std::size_t offset) {
  return std::string(reinterpret_cast<const char*>(&record[offset]));
}

std::uint16_t Word16(const std::vector<unsigned char>& record, std::size_t offset) {
  return std::uint16_t(record[offset] | (record[offset + 1] << 8));
}

TEST_F(Handshake, EnumerateFillsTheDescriptionRecordByteForByte) {
  std::vector<unsigned char> record(kHostRecordSize, kUntouched);
  ASSERT_EQ(1, plugin.enumerate(0, 0, record.data()));

  struct Field {
    std::size_t offset;
    const char* text;
  };
  const Field fields[] = {
      {0, "DI Veverer Odazoz"},
      {64, "Explode notes in layer 1 into multiple layers."},
      {128, "Explode Layers"},
  };
  for (const Field& field : fields) {
    SCOPED_TRACE(field.text);
    EXPECT_EQ(field.text, TextField(record, field.offset));
    for (std::size_t i = field.offset + std::strlen(field.text); i < field.offset + 64; ++i)
      EXPECT_EQ(0, record[i]) << "byte " << i << " is not zero fill";
  }
  EXPECT_EQ(1, Word16(record, 192));
  EXPECT_EQ(0, Word16(record, 194));
  for (std::size_t i = 196; i < kHostRecordSize; ++i)
    EXPECT_EQ(kUntouched, record[i]) << "byte " << i << " was written";
}

TEST_F(Handshake, EnumerateFillsARecordAtAnyAlignment) {
  // The host owns the record; nothing guarantees more than byte alignment.
  std::vector<unsigned char> memory(kHostRecordSize + 1, kUntouched);
  ASSERT_EQ(1, plugin.enumerate(0, 0, memory.data() + 1));
  EXPECT_EQ(kUntouched, memory[0]);
  const std::vector<unsigned char> record(memory.begin() + 1, memory.end());
  EXPECT_EQ("DI Veverer Odazoz", TextField(record, 0));
  EXPECT_EQ("Explode notes in layer 1 into multiple layers.", TextField(record, 64));
  EXPECT_EQ("Explode Layers", TextField(record, 128));
  EXPECT_EQ(1, Word16(record, 192));
  EXPECT_EQ(0, Word16(record, 194));
  EXPECT_EQ(kUntouched, record[196]);
}

TEST_F(Handshake, EnumerateByIndex) {
  struct Case {
    std::int32_t index;
    std::int32_t result;
    bool fills;
  };
  const Case cases[] = {
      {0, 1, true},
      {1, 0, false},
      {2, 0, false},
      {-1, 1, true},
      {std::int32_t(0x00010000), 1, true},   // only the low 16 bits count: index 0
      {std::int32_t(0x0001FFFF), 1, true},   // low half 0xFFFF is -1
      {std::int32_t(0xFFFF0001), 0, false},  // low half is 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    std::vector<unsigned char> record(kHostRecordSize, kUntouched);
    EXPECT_EQ(c.result, plugin.enumerate(0, c.index, record.data()));
    if (c.fills) {
      EXPECT_EQ("DI Veverer Odazoz", TextField(record, 0));
    } else {
      EXPECT_EQ(std::vector<unsigned char>(kHostRecordSize, kUntouched), record);
    }
  }
}

TEST_F(Handshake, InitSetsTheLowestFlagBitOnly) {
  const std::uint32_t cases[][2] = {{0, 1}, {1, 1}, {6, 7}, {0xFFFFFFFE, 0xFFFFFFFF}, {0x80000000, 0x80000001}};
  for (const auto& c : cases) {
    std::uint32_t flags = c[0];
    EXPECT_EQ(1, plugin.init(0, &flags));
    EXPECT_EQ(c[1], flags) << "flags were " << c[0];
  }
}

TEST_F(Handshake, VersionAnswersItsArgument) {
  for (std::uint32_t version : {0x0F000200u, 0x10000000u, 0u, 0xFFFFFFFFu, 0x0A000000u})
    EXPECT_EQ(std::int32_t(version), plugin.version(version));
}

TEST_F(Handshake, MenuStatusIsAlwaysEnabled) {
  // Before Init as well as after it.
  EXPECT_EQ(1, plugin.menuStatus(0));
  std::uint32_t flags = 0;
  plugin.init(0, &flags);
  for (std::int32_t argument : {0, 1, -1, 12345}) EXPECT_EQ(1, plugin.menuStatus(argument));
  plugin.terminate(0);
  EXPECT_EQ(1, plugin.menuStatus(0));
}

#if defined(ZK_PLUGIN_PATH)
TEST_F(Handshake, LibraryExportsNothingButItsEntryPoints) {
  // The host-interface layer stays inside the library: its variables by their
  // plain names, its functions by their linkage names.
  for (const char* name : {"RunningTonaroVersion", "TonaroEditDepth", "_Z25SetTonaroFrameworkVersionj",
                           "_Z15GetTonaroHandlev", "_Z15HK_GetMaxLayersj"})
    EXPECT_EQ(nullptr, plugin.Find(name)) << name;
  for (const char* name : {"TonaroExtensionVersion", "TonaroExtensionInit", "TonaroExtensionEnumerate",
                           "TonaroExtensionTerminate", "TonaroExtensionGetMenuStatus"})
    EXPECT_NE(nullptr, plugin.Find(name)) << name;
}
#endif

}  // namespace
