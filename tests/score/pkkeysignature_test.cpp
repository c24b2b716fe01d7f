// The arithmetic of key signatures over the host's key values.
#include "tonaroframework/score/pkkeysignature.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tonaroframework/foundation/pkstring.h"

namespace {

std::string NameOf(const PKKeySignature& key) {
  PKString text;
  key.MakeString(&text);
  return text.GetCString();
}

struct KeyCase {
  std::uint16_t value;
  int sharps, flats, root, relation, absolute;
  const char* name;
};

// Root letters: 0 A, 1 B, 2 C, 3 D, 4 E, 5 F, 6 G.
const KeyCase kKeys[] = {
    {0x0000, 0, 0, 2, 0, 0, "C major"},
    {0x0100, 0, 0, 0, 0, 5, "a minor"},
    {0x0001, 1, 0, 6, 4, 4, "G major"},
    {0x0101, 1, 0, 4, 4, 2, "e minor"},
    {0x0003, 3, 0, 0, 5, 5, "A major"},
    {0x0006, 6, 0, 5, 3, 3, "F sharp major"},
    {0x0007, 7, 0, 2, 0, 0, "C sharp major"},
    {0x00FF, 0, 1, 5, 3, 3, "F major"},
    {0x01FF, 0, 1, 3, 3, 1, "d minor"},
    {0x00FE, 0, 2, 1, 6, 6, "B flat major"},
    {0x00FD, 0, 3, 4, 2, 2, "E flat major"},
    {0x01FB, 0, 5, 1, 1, 6, "b flat minor"},
    {0x00F9, 0, 7, 2, 7, 7, "C flat major"},
    {0x01F9, 0, 7, 0, 7, 5, "a flat minor"},
    {0x0200, -1, -1, -1, -1, -1, ""},
    {0x4000, -1, -1, -1, -1, -1, ""},
    {0x8003, -1, -1, -1, -1, -1, ""},
};

TEST(PKKeySignature, CountsTonicRelationAndNameOfEachKey) {
  for (const KeyCase& c : kKeys) {
    SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << c.value);
    const PKKeySignature key(c.value);
    EXPECT_EQ(key.CalcSharps(), c.sharps);
    EXPECT_EQ(key.CalcFlats(), c.flats);
    EXPECT_EQ(key.CalcScaleRootIndex(), c.root);
    EXPECT_EQ(key.CalcRootRelationIndex(), c.relation);
    EXPECT_EQ(key.CalcRootRelationAbsoluteIndex(), c.absolute);
    EXPECT_EQ(NameOf(key), c.name);
  }
}

TEST(PKKeySignature, TheLettersAlteredFollowTheOrdersOfSharpsAndFlats) {
  // Letters A..G as the signature alters them: '#', 'b' or '.'.
  struct Case {
    std::uint16_t value;
    const char* letters;
  } cases[] = {
      {0x0000, "......."}, {0x0001, ".....#."}, {0x0002, "..#..#."}, {0x0006, "#.#####"},
      {0x0007, "#######"}, {0x00FF, ".b....."}, {0x00FD, "bb..b.."}, {0x00F9, "bbbbbbb"},
      {0x0200, "......."}, {0xC0FF, "......."},
  };
  for (const Case& c : cases) {
    const PKKeySignature key(c.value);
    std::string letters;
    for (int letter = 0; letter < 7; ++letter)
      letters += key.IsSharpNote(letter) ? '#' : key.IsFlatNote(letter) ? 'b' : '.';
    EXPECT_EQ(letters, c.letters) << "key 0x" << std::hex << c.value;
  }
  EXPECT_FALSE(PKKeySignature(0x0007).IsSharpNote(7));
  EXPECT_FALSE(PKKeySignature(0x00F9).IsFlatNote(-1));
}

TEST(PKKeySignature, IdentityComparesKindTonicAndAccidentals) {
  PKKeySignature gMajor(0x0001), eMinor(0x0101), otherG(0x0001);
  PKKeySignature mode2(0x0200), opaque(0x4000);
  EXPECT_TRUE(gMajor.IsIdentical(&otherG));
  EXPECT_FALSE(gMajor.IsIdentical(&eMinor));
  EXPECT_TRUE(mode2.IsIdentical(&opaque)) << "keys that are neither major nor minor all compare identical";
  EXPECT_FALSE(gMajor.IsIdentical(static_cast<PKKeySignature*>(nullptr)));
}

TEST(PKKeySignature, TheAlterationOffsetShiftsStandardKeysAlongTheFifths) {
  PKKeySignature key(0x0001);
  key.SetAlterationOffset(2);
  EXPECT_EQ(key.CalcSharps(), 3);
  EXPECT_EQ(NameOf(key), "A major");
  key.SetAlterationOffset(-3);
  EXPECT_EQ(key.CalcFlats(), 2);
  key.SetKeyValue(0x0101);
  EXPECT_EQ(NameOf(key), "g minor");
  key.SetKeyValue(0x007F);  // the sum wraps within a signed byte
  key.SetAlterationOffset(1);
  EXPECT_EQ(key.CalcFlats(), 128);
}

TEST(PKKeySignature, IsADataBlockOfTwoBytesThatClonesWithItsOffset) {
  PKKeySignature key(0x00FD);
  key.SetAlterationOffset(4);
  EXPECT_STREQ(key.ClassName(), "PKKeySignature");
  EXPECT_EQ(key.Tag(), 0u);
  EXPECT_FALSE(key.LoadFirst());
  EXPECT_EQ(key.DataSizeLoad(), 2);
  EXPECT_EQ(key.GetDataBlock(), key.Allocate());
  std::unique_ptr<__PKBaseData> copy(key.CreateClone());
  auto* clone = static_cast<PKKeySignature*>(copy.get());
  EXPECT_EQ(clone->GetKeyValue(), 0x00FD);
  EXPECT_EQ(clone->GetAlterationOffset(), 4);
  EXPECT_EQ(clone->GetDataBlock(), clone->Allocate());
  PKKeySignature fresh;
  EXPECT_EQ(fresh.GetKeyValue(), 0);
}

}  // namespace
