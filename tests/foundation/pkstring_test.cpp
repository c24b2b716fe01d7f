#include "tonaroframework/foundation/pkstring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/substitute.h"

namespace {

PKString Make(const char* text) {
  PKString s;
  s.SetCString(text);
  return s;
}

std::string Text(PKString& s) { return std::string(s.GetCString()); }

std::vector<std::int16_t> Units(const PKString& s) {
  std::vector<std::int16_t> units;
  for (int i = 0; i < s.GetLength(); ++i) units.push_back(s.GetItemAt(i));
  return units;
}

std::vector<std::string> Texts(PKStrings* list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list->GetCount(); ++i) texts.push_back(Text(*list->GetItemAt(i)));
  return texts;
}

// Either no storage at all, or room for at least one more unit.
void ExpectInvariant(const PKString& s) {
  if (s.GetCapacity() == 0)
    EXPECT_EQ(s.GetLength(), 0);
  else
    EXPECT_LT(s.GetLength(), s.GetCapacity());
}

TEST(PKString, AnswersItsNames) {
  PKString s;
  PKStrings list;
  EXPECT_STREQ(s.ClassName(), "PKString");
  EXPECT_STREQ(list.ClassName(), "PKStrings");
  EXPECT_TRUE(s.IsIdentical(nullptr));
}

TEST(PKString, NewStringIsEmptyWithoutStorage) {
  PKString s;
  EXPECT_EQ(s.GetLength(), 0);
  EXPECT_EQ(s.GetCapacity(), 0);
  EXPECT_STREQ(s.GetCString(), "");
}

TEST(PKString, GrowsToTheNextMultipleOfTenAboveTheLengthOneCharacterAtATime) {
  PKString s;
  for (int length = 1; length <= 31; ++length) {
    s.Append(std::int16_t('a' + length % 26));
    const int expected = (length + 10) / 10 * 10;
    EXPECT_EQ(s.GetCapacity(), expected) << "after " << length << " characters";
    ExpectInvariant(s);
  }
  // The boundaries stated outright: nine fit in 10, the tenth needs 20.
  PKString t;
  for (int i = 0; i < 9; ++i) t.Append(std::int16_t('x'));
  EXPECT_EQ(t.GetCapacity(), 10);
  t.Append(std::int16_t('x'));
  EXPECT_EQ(t.GetCapacity(), 20);
}

TEST(PKString, SettingTextGrowsOnceToTheResultingLength) {
  struct Case {
    const char* text;
    int capacity;
  };
  const Case cases[] = {{"", 0}, {"a", 10}, {"123456789", 10}, {"1234567890", 20}, {"1234567890123456789012345", 30}};
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    EXPECT_EQ(s.GetCapacity(), c.capacity) << c.text;
    EXPECT_EQ(s.GetLength(), int(std::strlen(c.text)));
    ExpectInvariant(s);
  }
  PKString s = Make("abcde");
  s.Append("12345678901234567890");
  EXPECT_EQ(s.GetLength(), 25);
  EXPECT_EQ(s.GetCapacity(), 30);
}

TEST(PKString, StorageNeverShrinksExceptWhenSetEmpty) {
  PKString s = Make("1234567890123456789012345");
  s.SetCString("ab");
  EXPECT_EQ(s.GetCapacity(), 30);
  EXPECT_TRUE(s.DeleteCharactersAt(0, 2));
  EXPECT_EQ(s.GetCapacity(), 30);
  s.SetCString("xyz");
  s.SetCString("");
  EXPECT_EQ(s.GetLength(), 0);
  EXPECT_EQ(s.GetCapacity(), 0);
  s.Append(std::int16_t('x'));
  EXPECT_EQ(s.GetCapacity(), 10);

  const std::int16_t empty[] = {0};
  s.SetUnicodeString(empty);
  EXPECT_EQ(s.GetCapacity(), 0);
  s.SetCString("abc");
  s.SetCString(nullptr);
  EXPECT_EQ(s.GetCapacity(), 0);
}

TEST(PKString, BytesWidenAsSignedAndComeBackUnchanged) {
  struct Case {
    unsigned char byte;
    std::int16_t unit;
  };
  // 0x80 is unit 0xFF80, 0xE9 is 0xFFE9, 0xFF is 0xFFFF.
  const Case cases[] = {{0x01, 1}, {0x41, 65}, {0x7F, 127}, {0x80, -128}, {0xE9, -23}, {0xFF, -1}};
  for (const Case& c : cases) {
    const char text[] = {char(c.byte), 0};
    PKString s = Make(text);
    EXPECT_EQ(s.GetItemAt(0), c.unit) << int(c.byte);
    EXPECT_EQ((unsigned char)s.GetCString()[0], c.byte);
  }
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte.push_back(char(b));
  PKString s = Make(everyByte.c_str());
  EXPECT_EQ(Text(s), everyByte);
}

TEST(PKString, WideUnitsPassAsTheyAreAndLeaveTheirLowByteInTheByteText) {
  const std::int16_t text[] = {0x263A, 'a', -23, 0x0141, 0};
  PKString s;
  s.SetUnicodeString(text);
  EXPECT_EQ(Units(s), (std::vector<std::int16_t>{0x263A, 'a', -23, 0x0141}));
  EXPECT_EQ(Text(s), std::string("\x3A" "a\xE9" "\x41"));

  std::int16_t copy[5] = {7, 7, 7, 7, 7};
  s.GetUnicodeString(copy);
  EXPECT_EQ(std::vector<std::int16_t>(copy, copy + 5), (std::vector<std::int16_t>{0x263A, 'a', -23, 0x0141, 0}));
}

TEST(PKString, ReadsAndWritesUnitsOnlyInRange) {
  PKString s = Make("abc");
  EXPECT_EQ(s.GetItemAt(-1), 0);
  EXPECT_EQ(s.GetItemAt(3), 0);
  EXPECT_EQ(s.GetItemAt(2), 'c');
  s.SetItemAt(-1, 'x');
  s.SetItemAt(3, 'x');
  s.SetItemAt(1, 'B');
  EXPECT_EQ(Text(s), "aBc");
  EXPECT_EQ(s.GetLength(), 3);
}

TEST(PKString, ByteTextStaysValidUntilTheNextGetCString) {
  PKString s = Make("before");
  const char* earlier = s.GetCString();
  s.Append(" and a much longer tail that makes the storage grow");
  s.DeleteCharactersAt(0, 3);
  // Editing does not touch the byte text; only the next GetCString replaces it.
  EXPECT_STREQ(earlier, "before");
  EXPECT_STREQ(s.GetCString(), "ore and a much longer tail that makes the storage grow");
}

TEST(PKString, CopiesAndSetsFromOtherStrings) {
  PKString source = Make("text");
  PKString copy(source);
  EXPECT_EQ(Text(copy), "text");
  PKString assigned = Make("other text here");
  assigned = source;
  EXPECT_EQ(Text(assigned), "text");
  PKString target = Make("x");
  target.SetString(&source);
  EXPECT_EQ(Text(target), "text");
  target.SetString(&target);
  target.SetString(nullptr);
  EXPECT_EQ(Text(target), "text");
  PKString empty;
  target.SetString(&empty);
  EXPECT_EQ(target.GetLength(), 0);
}

TEST(PKString, AppendingItselfAppendsTheOldTextOnce) {
  struct Case {
    const char* text;
    const char* expected;
  };
  // Nine characters fill a capacity of 10: doubling them forces the storage
  // to move while it is also the source.
  const Case cases[] = {{"", ""}, {"ab", "abab"}, {"123456789", "123456789123456789"}};
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    s.Append(&s);
    EXPECT_EQ(Text(s), c.expected);
    ExpectInvariant(s);
  }
  PKString s = Make("ab");
  s.Append(static_cast<PKString*>(nullptr));
  s.Append(static_cast<const char*>(nullptr));
  EXPECT_EQ(Text(s), "ab");
}

TEST(PKString, WritesIntegersAsPercentD) {
  struct Case {
    int value;
    const char* text;
  };
  const Case cases[] = {{0, "0"}, {42, "42"}, {-5, "-5"}, {2147483647, "2147483647"},
                        {std::numeric_limits<int>::min(), "-2147483648"}};
  for (const Case& c : cases) {
    PKString s = Make("old");
    s.SetInteger(c.value);
    EXPECT_EQ(Text(s), c.text);
    PKString appended = Make("n=");
    appended.AppendInteger(c.value);
    EXPECT_EQ(Text(appended), std::string("n=") + c.text);
  }
}

TEST(PKString, ReadsNumbersFromAnIndexOn) {
  struct Case {
    const char* text;
    int index;
    int expected;
  };
  const Case cases[] = {
      {"12ab", 0, 12},   {"12ab", 1, 2},   {"12ab", 4, 0},          {"12ab", 5, 0},
      {"12ab", -1, 0},   {"x-42", 1, -42}, {"  7", 0, 7},           {"abc", 0, 0},
      {"99999999999", 0, std::numeric_limits<int>::max()}, {"-99999999999", 0, std::numeric_limits<int>::min()},
  };
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    EXPECT_EQ(s.GetInteger(c.index), c.expected) << c.text << " from " << c.index;
  }
  PKString f = Make("x2.5y");
  EXPECT_FLOAT_EQ(f.GetFloat(1), 2.5f);
  EXPECT_FLOAT_EQ(f.GetFloat(6), 0.0f);
  EXPECT_FLOAT_EQ(f.GetFloat(-1), 0.0f);
  PKString huge = Make("1e300");
  EXPECT_TRUE(std::isinf(huge.GetFloat(0)));
}

TEST(PKString, ComparesByteTextCaseSensitively) {
  PKString abc = Make("Abc");
  PKString lower = Make("abc");
  PKString same = Make("Abc");
  EXPECT_FALSE(abc.IsEqual(static_cast<const char*>(nullptr)));
  EXPECT_FALSE(abc.IsEqual(static_cast<PKString*>(nullptr)));
  EXPECT_TRUE(abc.IsEqual(&abc));
  EXPECT_TRUE(abc.IsEqual(&same));
  EXPECT_FALSE(abc.IsEqual(&lower));
  EXPECT_FALSE(abc.IsEqual("abc"));
  EXPECT_TRUE(abc.IsEqual("Abc"));
  EXPECT_FALSE(abc.IsEqual("Ab"));

  // Byte comparisons see only the low 8 bits and stop at a 0 unit.
  PKString wide = Make("xAy");
  wide.SetItemAt(1, 0x0141);
  EXPECT_TRUE(wide.IsEqual("xAy"));
  wide.SetItemAt(1, 0);
  EXPECT_TRUE(wide.IsEqual("x"));
}

TEST(PKString, StartsAndEndsWithByteText) {
  struct Case {
    const char* text;
    const char* part;
    bool starts, ends;
  };
  const Case cases[] = {
      {"abc", "", true, true},   {"", "", true, true},       {"abc", "abcd", false, false},
      {"abc", "ab", true, false}, {"abc", "bc", false, true}, {"abc", "abc", true, true},
      {"abc", "B", false, false}, {"", "a", false, false},
  };
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    EXPECT_EQ(s.StartsWith(c.part), c.starts) << c.text << " / " << c.part;
    EXPECT_EQ(s.EndsWith(c.part), c.ends) << c.text << " / " << c.part;
  }
  PKString s = Make("abc");
  EXPECT_FALSE(s.StartsWith(static_cast<const char*>(nullptr)));
  EXPECT_FALSE(s.EndsWith(nullptr));
}

TEST(PKString, StartsWithAnotherStringComparesWholeUnits) {
  PKString s = Make("xAy");
  PKString empty;
  PKString prefix = Make("xA");
  PKString longer = Make("xAyz");
  EXPECT_TRUE(s.StartsWith(&empty));
  EXPECT_TRUE(s.StartsWith(&prefix));
  EXPECT_FALSE(s.StartsWith(&longer));
  EXPECT_FALSE(s.StartsWith(static_cast<PKString*>(nullptr)));
  PKString wide = Make("xA");
  wide.SetItemAt(1, 0x0141);
  EXPECT_FALSE(s.StartsWith(&wide));
}

TEST(PKString, ContainsFindsTheFirstOccurrence) {
  struct Case {
    const char* text;
    const char* part;
    bool found;
    int position;
  };
  const Case cases[] = {
      {"abcb", "", true, 0},  {"", "", true, 0},   {"abcb", "b", true, 1}, {"abcb", "cb", true, 2},
      {"abcb", "bd", false, -7}, {"ab", "abc", false, -7}, {"aab", "ab", true, 1},
  };
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    PKString part = Make(c.part);
    int position = -7;
    EXPECT_EQ(s.Contains(&part, &position), c.found) << c.text << " / " << c.part;
    EXPECT_EQ(position, c.position) << c.text << " / " << c.part;
    EXPECT_EQ(s.Contains(&part, nullptr), c.found);
  }
  PKString s = Make("a");
  EXPECT_FALSE(s.Contains(nullptr, nullptr));
}

TEST(PKString, IsCharacterMatchesWidenedSetBytes) {
  PKString s = Make("a\xE9z");
  EXPECT_TRUE(s.IsCharacter(1, "\xE9"));
  EXPECT_TRUE(s.IsCharacter(0, "xya"));
  EXPECT_FALSE(s.IsCharacter(2, "xya"));
  EXPECT_FALSE(s.IsCharacter(0, ""));
  EXPECT_FALSE(s.IsCharacter(0, static_cast<const char*>(nullptr)));
  EXPECT_FALSE(s.IsCharacter(-1, "a"));
  EXPECT_FALSE(s.IsCharacter(3, "z"));
  EXPECT_TRUE(s.IsCharacter(1, std::int16_t(-23)));
  EXPECT_FALSE(s.IsCharacter(1, std::int16_t(0xE9)));
  EXPECT_FALSE(s.IsCharacter(3, std::int16_t(0)));
}

TEST(PKString, ClassifiesDigitsAndWhitespaceByUnit) {
  struct Case {
    std::int16_t unit;
    bool digit, whitespace;
  };
  const Case cases[] = {
      {8, false, false},    {9, false, true},     {10, false, true},  {11, false, true},
      {12, false, true},    {13, false, true},    {14, false, false}, {32, false, true},
      {'0', true, false},   {'9', true, false},   {'/', false, false}, {':', false, false},
      {-1, false, false},   {-96, false, false},  {0x0120, false, false}, {0x0130, false, false},
  };
  for (const Case& c : cases) {
    PKString s;
    s.Append(c.unit);
    EXPECT_EQ(s.IsDigit(0), c.digit) << c.unit;
    EXPECT_EQ(s.IsWhitespace(0), c.whitespace) << c.unit;
    EXPECT_EQ(s.IsAllDigits(), c.digit) << c.unit;
    EXPECT_FALSE(s.IsDigit(1));
    EXPECT_FALSE(s.IsWhitespace(-1));
  }
  PKString empty;
  EXPECT_TRUE(empty.IsAllDigits());
  EXPECT_FALSE(empty.IsDigit(0));
  EXPECT_FALSE(empty.IsWhitespace(0));
  EXPECT_TRUE(Make("0123456789").IsAllDigits());
  EXPECT_FALSE(Make("01234x6789").IsAllDigits());
}

TEST(PKString, TrimsSpacesReturnsFeedsAndTabsOnly) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"\t a b \r\n", "a b"}, {"   ", ""}, {"", ""}, {"x", "x"}, {"\n\r\t x", "x"}, {"x \t", "x"},
      {"\va\f", "\va\f"}, {" \va\f ", "\va\f"},
  };
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    s.TrimWhitespace();
    EXPECT_EQ(Text(s), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(s.GetLength(), int(std::strlen(c.expected)));
  }
}

TEST(PKString, DeletesOnlyRangesInsideTheString) {
  struct Case {
    int start, count;
    bool deleted;
    const char* expected;
  };
  const Case cases[] = {
      {0, 6, true, ""},        {0, 0, false, "abcdef"}, {2, 2, true, "abef"},   {5, 1, true, "abcde"},
      {-1, 1, false, "abcdef"}, {6, 1, false, "abcdef"}, {0, 7, false, "abcdef"}, {0, -1, false, "abcdef"},
      // Reaches past the end although the count alone fits: refused.
      {4, 3, false, "abcdef"},
  };
  for (const Case& c : cases) {
    PKString s = Make("abcdef");
    EXPECT_EQ(s.DeleteCharactersAt(c.start, c.count), c.deleted) << c.start << "," << c.count;
    EXPECT_EQ(Text(s), c.expected) << c.start << "," << c.count;
  }
  PKString s = Make("abc");
  EXPECT_FALSE(s.DeleteCharacterAt(-1));
  EXPECT_FALSE(s.DeleteCharacterAt(3));
  EXPECT_TRUE(s.DeleteCharacterAt(1));
  EXPECT_EQ(Text(s), "ac");
}

TEST(PKString, InsertsOnlyAtPositionsInsideTheString) {
  struct Case {
    const char* text;
    const char* inserted;
    int position;
    const char* expected;
  };
  const Case cases[] = {
      {"abc", "XY", 0, "XYabc"}, {"abc", "XY", 1, "aXYbc"}, {"abc", "XY", 3, "abcXY"},
      {"abc", "XY", -1, "abc"},  {"abc", "XY", 4, "abc"},   {"", "x", 0, "x"},
      {"abc", "", 1, "abc"},     {"123456789", "0", 4, "1234056789"},
  };
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    s.Insert(c.inserted, c.position);
    EXPECT_EQ(Text(s), c.expected) << c.text << " at " << c.position;
    ExpectInvariant(s);
  }
  PKString s = Make("abc");
  s.Insert(nullptr, 0);
  EXPECT_EQ(Text(s), "abc");
}

TEST(PKString, MakesSubStringsWithinBounds) {
  struct Case {
    int start, count;
    bool made;
    const char* expected;
  };
  const Case cases[] = {
      {2, 3, true, "cde"}, {5, 10, true, "fg"}, {7, 1, false, "keep"}, {0, 0, true, ""},
      {6, 1, true, "g"},   {-1, 1, false, "keep"}, {3, -1, false, "keep"}, {0, 7, true, "abcdefg"},
  };
  for (const Case& c : cases) {
    PKString s = Make("abcdefg");
    PKString result = Make("keep");
    EXPECT_EQ(s.MakeSubString(c.start, c.count, &result), c.made) << c.start << "," << c.count;
    EXPECT_EQ(Text(result), c.expected) << c.start << "," << c.count;
  }
  PKString s = Make("abcdefg");
  EXPECT_FALSE(s.MakeSubString(0, 1, nullptr));
  EXPECT_TRUE(s.MakeSubString(1, 2, &s));
  EXPECT_EQ(Text(s), "bc");
}

TEST(PKString, ReplacesFromTheStartUntilNoOccurrenceIsLeft) {
  struct Case {
    const char* text;
    const char* pattern;
    const char* replacement;
    bool replaced;
    const char* expected;
  };
  const Case cases[] = {
      {"axbx", "x", "yy", true, "ayybyy"},
      {"ab", "x", "yy", false, "ab"},
      // A replacement joins with its surroundings into a new occurrence.
      {"aaaa", "aa", "a", true, "a"},
      {"aabb", "ab", "ba", true, "bbaa"},
      {"xyx", "x", "", true, "y"},
      {"caf\xE9", "\xE9", "e", true, "cafe"},
      {"", "a", "b", false, ""},
      // Refused, as they would never end.
      {"abc", "", "z", false, "abc"},
      {"abc", "b", "bb", false, "abc"},
      {"abc", "b", "b", false, "abc"},
      {"aab", "ab", "bbaa", false, "aab"},
  };
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    EXPECT_EQ(s.Replace(c.pattern, c.replacement), c.replaced)
        << c.text << ": " << c.pattern << " -> " << c.replacement;
    EXPECT_EQ(Text(s), c.expected) << c.text << ": " << c.pattern << " -> " << c.replacement;
  }
  PKString s = Make("abc");
  EXPECT_FALSE(s.Replace(nullptr, "x"));
  EXPECT_FALSE(s.Replace("b", nullptr));
  EXPECT_EQ(Text(s), "abc");
}

TEST(PKString, SplitsIntoRowsAtLineFeeds) {
  struct Case {
    const char* text;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"a\n\nb\n", {"a", "", "b"}}, {"", {}},      {"\n", {""}},          {"a\r\nb", {"a\r", "b"}},
      {"abc", {"abc"}},             {"\n\n", {"", ""}}, {"a\nb", {"a", "b"}},
  };
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    std::unique_ptr<PKStrings> rows(s.CreateStringRows());
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(Texts(rows.get()), c.rows) << '"' << c.text << '"';
  }
}

TEST(PKString, SplitsIntoNonEmptyFieldsAtSeparators) {
  struct Case {
    const char* text;
    const char* separators;
    std::vector<std::string> fields;
  };
  const Case cases[] = {
      {",a,,b,", ",", {"a", "b"}}, {"a b;c", " ;", {"a", "b", "c"}}, {",,,", ",", {}},
      {"", ",", {}},               {"abc", "", {"abc"}},             {"abc", nullptr, {"abc"}},
      {"", nullptr, {}},           {"a\xE9" "b", "\xE9", {"a", "b"}}, {"ab", ",", {"ab"}},
  };
  for (const Case& c : cases) {
    PKString s = Make(c.text);
    std::unique_ptr<PKStrings> fields(s.CreateParsedStrings(c.separators));
    ASSERT_NE(fields, nullptr);
    EXPECT_EQ(Texts(fields.get()), c.fields) << '"' << c.text << '"';
  }
}

TEST(PKString, LoadsStringResources) {
  platform::substitute::SetStringResource(101, "Hello");
  PKString s;
  EXPECT_TRUE(s.LoadResource(101, nullptr));
  EXPECT_EQ(Text(s), "Hello");
  EXPECT_FALSE(s.LoadResource(102, nullptr));
  EXPECT_EQ(Text(s), "Resource String Error");
  platform::substitute::SetStringResource(103, "");
  EXPECT_FALSE(s.LoadResource(103, nullptr));
  EXPECT_EQ(Text(s), "Resource String Error");
}

TEST(PKString, ResourceTextIsCutAt499Bytes) {
  const std::string longText(600, 'r');
  platform::substitute::SetStringResource(7, longText.c_str());
  PKString s;
  EXPECT_TRUE(s.LoadResource(7, nullptr));
  EXPECT_EQ(Text(s), std::string(499, 'r'));
}

TEST(PKString, RemembersTheResourceModuleOfTheLastNamedLookup) {
  platform::substitute::SetStringResource(5, "five");
  PKString s;
  const std::uint32_t before = platform::substitute::ModuleLookupCount();
  EXPECT_TRUE(s.LoadResource(5, "TONARO.EXE"));
  EXPECT_EQ(platform::substitute::ModuleLookupCount(), before + 1);
  EXPECT_TRUE(s.LoadResource(5, nullptr));
  EXPECT_TRUE(s.LoadResource(5, nullptr));
  EXPECT_EQ(platform::substitute::ModuleLookupCount(), before + 1);
  EXPECT_EQ(Text(s), "five");
}

TEST(PKString, TakesThePathOfAPathRecord) {
  alignas(8) char record[260] = {};
  std::strcpy(record, "C:\\Scores\\Song.ton");
  std::strcpy(record + 100, "not part of the path");
  PKString s = Make("old");
  EXPECT_TRUE(s.MakeFullFilePath(reinterpret_cast<const TonPathSpec2009*>(record)));
  EXPECT_EQ(Text(s), "C:\\Scores\\Song.ton");

  // A record without a terminator is read to its end and no further.
  std::memset(record, 'p', sizeof record);
  EXPECT_TRUE(s.MakeFullFilePath(reinterpret_cast<const TonPathSpec2009*>(record)));
  EXPECT_EQ(s.GetLength(), 260);

  std::memset(record, 0, sizeof record);
  EXPECT_TRUE(s.MakeFullFilePath(reinterpret_cast<const TonPathSpec2009*>(record)));
  EXPECT_EQ(s.GetLength(), 0);
  s.SetCString("old");
  EXPECT_TRUE(s.MakeFullFilePath(nullptr));
  EXPECT_EQ(s.GetLength(), 0);
}

class CountedString : public PKString {
 public:
  explicit CountedString(int* destroyed) : _destroyed(destroyed) {}
  ~CountedString() override { ++*_destroyed; }

 private:
  int* _destroyed;
};

TEST(PKStrings, OwnsItsStringsAndAnswersThemTyped) {
  int destroyed = 0;
  {
    PKStrings list;
    for (int i = 0; i < 3; ++i) list.Add(new CountedString(&destroyed));
    list.GetItemAt(1)->SetCString("middle");
    EXPECT_EQ(Text(*list.GetItemAt(1)), "middle");
    EXPECT_EQ(list.GetItemAt(-1), nullptr);
    EXPECT_EQ(list.GetItemAt(3), nullptr);
    list.Add(new __PKBase);
    EXPECT_EQ(list.GetItemAt(3), nullptr) << "an element that is not a string";
    EXPECT_TRUE(list.ClearItemAt(0));
    EXPECT_EQ(destroyed, 1);
  }
  EXPECT_EQ(destroyed, 3);
}

}  // namespace
