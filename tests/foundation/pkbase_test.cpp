#include "tonaroframework/foundation/pkbase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace {

class DestructionCounter : public __PKBase {
 public:
  explicit DestructionCounter(int* destroyed) : _destroyed(destroyed) {}
  ~DestructionCounter() override { ++*_destroyed; }

 private:
  int* _destroyed;
};

TEST(PKBase, AnswersItsNameAndIsIdenticalToAnything) {
  __PKBase base;
  __PKBase other;
  EXPECT_STREQ(base.ClassName(), "__PKBase");
  EXPECT_TRUE(base.IsIdentical(&other));
  EXPECT_TRUE(base.IsIdentical(&base));
  EXPECT_TRUE(base.IsIdentical(nullptr));
}

TEST(PKBase, KeepsUserData) {
  __PKBase base;
  EXPECT_EQ(base.GetUserData(), nullptr);
  int marker = 0;
  base.SetUserData(&marker);
  EXPECT_EQ(base.GetUserData(), &marker);
  base.SetUserData(nullptr);
  EXPECT_EQ(base.GetUserData(), nullptr);
}

TEST(PKBase, DeletingThroughTheRootRunsTheDerivedDestructor) {
  int destroyed = 0;
  std::unique_ptr<__PKBase> object(new DestructionCounter(&destroyed));
  object.reset();
  EXPECT_EQ(destroyed, 1);
}

TEST(PKBase, Set16BitFlagSetsAndClearsEveryMaskBit) {
  struct Case {
    std::uint16_t word, mask;
    bool on;
    std::uint16_t expected;
  };
  const Case cases[] = {
      {0x0000, 0x0001, true, 0x0001},  {0x0001, 0x0001, true, 0x0001},  {0x00F0, 0x0F0F, true, 0x0FFF},
      {0xFFFF, 0x8001, false, 0x7FFE}, {0x1234, 0x0000, false, 0x1234}, {0x1234, 0x0000, true, 0x1234},
      {0x0F00, 0x00FF, false, 0x0F00}, {0x8000, 0x8000, false, 0x0000},
  };
  for (const Case& c : cases) {
    std::uint16_t word = c.word;
    __PKBase::Set16BitFlag(&word, c.mask, c.on);
    EXPECT_EQ(word, c.expected) << std::hex << c.word << " mask " << c.mask << " on " << c.on;
  }
  __PKBase::Set16BitFlag(nullptr, 0xFFFF, true);
}

TEST(PKBase, Set32BitFlagSetsAndClearsEveryMaskBit) {
  struct Case {
    std::uint32_t word, mask;
    bool on;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {0x00000000u, 0x80000000u, true, 0x80000000u},
      {0xFFFFFFFFu, 0x80000001u, false, 0x7FFFFFFEu},
      {0x00FF0000u, 0x0000FF00u, true, 0x00FFFF00u},
      {0x12345678u, 0x00000000u, false, 0x12345678u},
      {0x12345678u, 0xFFFFFFFFu, false, 0x00000000u},
  };
  for (const Case& c : cases) {
    std::uint32_t word = c.word;
    __PKBase::Set32BitFlag(&word, c.mask, c.on);
    EXPECT_EQ(word, c.expected) << std::hex << c.word << " mask " << c.mask << " on " << c.on;
  }
  __PKBase::Set32BitFlag(nullptr, 0xFFFFFFFFu, true);
}

}  // namespace
