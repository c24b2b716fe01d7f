// The substitute host's document: staves, measures, clefs, entries and the
// records it keeps for them.
#include "simhost/document.h"

#include <gtest/gtest.h>

#include <cstring>

#include "simhost/scorebuilder.h"

// Packed host fields are compared as values, +(field): the checks take
// references, which a packed field at an odd address cannot give.
namespace {

using simhost::Document;
using simhost::ItemKey;
using simhost::TripleKey;
namespace tags = simhost::tags;

std::int16_t Word(const simhost::RecordBytes* record, int offset) {
  std::int16_t value = 0;
  std::memcpy(&value, record->data() + offset, 2);
  return value;
}

TEST(Document, StavesAndMeasuresAreAlsoHostRecords) {
  Document document;
  EXPECT_EQ(document.AddStaff(), 1);
  EXPECT_EQ(document.AddStaff(7), 7);
  EXPECT_EQ(document.AddStaff(), 8);
  EXPECT_EQ(document.AddStaff(7), 0);
  EXPECT_EQ(document.AddStaff(-2), 0);
  EXPECT_EQ(document.ScoreOrder(), (std::vector<std::int16_t>{1, 7, 8}));
  EXPECT_NE(document.Records().Find(tags::kStaff, ItemKey(7)), nullptr);
  EXPECT_EQ(Word(document.Records().Find(tags::kSystemStaff, ItemKey(0, 1)), 0), 7);

  EXPECT_EQ(document.AddMeasures(3, simhost::TimeSignature{3, 1024}, 0x0002), 3);
  ASSERT_TRUE(document.SetKey(2, 0x00FF));
  ASSERT_TRUE(document.SetTimeSignature(3, simhost::TimeSignature{7, 512}));
  EXPECT_FALSE(document.SetKey(4, 0));
  EXPECT_EQ(document.GetKey(1), 0x0002);
  EXPECT_EQ(document.GetKey(2), 0x00FF);
  EXPECT_EQ(document.MeasureDuration(8, 3), 3584);
  EXPECT_EQ(document.MeasureDuration(2, 3), 0);
  const simhost::RecordBytes* measure = document.Records().Find(tags::kMeasure, ItemKey(2));
  ASSERT_NE(measure, nullptr);
  EXPECT_EQ(measure->size(), 26u);
  EXPECT_EQ(Word(measure, 2), 0x00FF);
  EXPECT_EQ(Word(measure, 4), 3);

  const EREGION whole = document.WholeDocument();
  EXPECT_EQ(whole.startSlot, 1);
  EXPECT_EQ(whole.endSlot, 3);
  EXPECT_EQ(whole.endMeasure, 3);
  EXPECT_EQ(Document().WholeDocument().endMeasure, 0);
}

TEST(Document, ClefsHoldUntilTheNextChange) {
  Document document;
  document.AddStaff();
  document.AddMeasures(5);
  ASSERT_TRUE(document.SetClef(1, 2, simhost::kClefBass));
  ASSERT_TRUE(document.SetClef(1, 4, simhost::kClefAlto));
  ASSERT_TRUE(document.SetClef(1, 2, simhost::kClefTenor));  // a change in front of a later one
  const std::int16_t expected[] = {simhost::kClefTreble, simhost::kClefTenor, simhost::kClefTenor,
                                   simhost::kClefAlto, simhost::kClefAlto};
  for (std::int16_t m = 1; m <= 5; ++m) {
    EXPECT_EQ(document.ClefAt(1, m), expected[m - 1]) << m;
    const simhost::RecordBytes* hold = document.Records().Find(tags::kFrameHold, TripleKey(1, m, 0));
    ASSERT_NE(hold, nullptr);
    EXPECT_EQ(Word(hold, 0), expected[m - 1]) << m;
  }
  EXPECT_FALSE(document.SetClef(2, 1, simhost::kClefBass));
  // The clef definitions put middle C where each clef has it.
  std::int16_t offset = 0;
  std::memcpy(&offset, document.Records().Find(tags::kClefDef, simhost::NumberKey(simhost::kClefBass))->data(), 2);
  EXPECT_EQ(offset, 2);
}

TEST(Document, EntriesGetNumbersAndCanBeFound) {
  Document document;
  document.AddStaff();
  document.AddMeasures(2);
  std::vector<EXENTRY> entries(2);
  entries[1].entryNumber = 40;
  ASSERT_TRUE(document.SetEntries({1, 2, 1}, entries));
  const auto& stored = document.Entries(1, 2, 1);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_NE(+(stored[0].entryNumber), 0u);
  EXPECT_EQ(+(stored[1].entryNumber), 40u);
  EXPECT_GT(document.NewEntryNumber(), 40);  // numbers given are never handed out again

  simhost::EntryPlace place;
  ASSERT_TRUE(document.FindEntry(40, &place));
  EXPECT_EQ(place.layer, (simhost::LayerPlace{1, 2, 1}));
  EXPECT_EQ(place.index, 1);
  EXPECT_FALSE(document.FindEntry(41, &place));
  EXPECT_FALSE(document.SetEntries({1, 3, 0}, entries));
  EXPECT_FALSE(document.SetEntries({2, 1, 0}, entries));
  EXPECT_EQ(document.FilledLayers(), (std::vector<simhost::LayerPlace>{{1, 2, 1}}));
  ASSERT_TRUE(document.SetEntries({1, 2, 1}, {}));
  EXPECT_TRUE(document.FilledLayers().empty());
}

TEST(Document, SlursAreCompleteSmartShapeGroups) {
  Document document;
  simhost::ScoreBuilder score(document);
  score.Staves(1).Measures(4);
  for (std::int16_t m = 1; m <= 4; ++m) ASSERT_TRUE(score.Layer(1, m, 1, "C4/1"));
  const std::int32_t start = score.EntryNumber(1, 1, 1, 0);
  const std::int32_t end = score.EntryNumber(1, 4, 1, 0);

  const std::uint16_t shape = document.AddSlur(start, end, simhost::kShapeSlurUp);
  ASSERT_NE(shape, 0);
  const std::vector<simhost::EntryShape> shapes = document.EntryShapes();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].number, shape);
  EXPECT_EQ(shapes[0].type, simhost::kShapeSlurUp);
  EXPECT_EQ(shapes[0].startEntry, start);
  EXPECT_EQ(shapes[0].endEntry, end);

  // A measure mark in each of the four measures; centre shapes in measures 2 and 3.
  const auto marks = document.Records().All(tags::kShapeMeasureMark);
  ASSERT_EQ(marks.size(), 4u);
  EXPECT_EQ(document.Records().Count(tags::kCenterShape), 2u);
  EXPECT_EQ(Word(marks[0].second, 2), 0);
  EXPECT_NE(Word(marks[1].second, 2), 0);
  EXPECT_NE(Word(marks[2].second, 2), Word(marks[1].second, 2));
  EXPECT_EQ(Word(marks[3].second, 2), 0);
  EXPECT_NE(document.Entries(1, 1, 0)[0].flags2 & kEntrySmartShapeFlag, 0);
  EXPECT_NE(document.Entries(1, 4, 0)[0].flags2 & kEntrySmartShapeFlag, 0);
  EXPECT_EQ(document.Entries(1, 2, 0)[0].flags2 & kEntrySmartShapeFlag, 0);
  EXPECT_EQ(document.Records().Count(tags::kShapeEntryMark), 2u);
  EXPECT_NE(Word(document.Records().Find(tags::kMeasure, ItemKey(3)), 8) & simhost::kMeasureCarriesSmartShapes, 0);

  EXPECT_EQ(document.AddSlur(end, start), 0);  // backwards
  EXPECT_EQ(document.AddSlur(start, 999), 0);
}

}  // namespace
