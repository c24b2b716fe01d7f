// Smart shapes and their marks: reading a shape's group of records, saving a
// new group and deleting one, on the substitute host's store.
#include "tonaroframework/smartshapes/pksmartshape.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../entries/entrytestsupport.h"
#include "simhost/hostmeaning.h"
#include "tonaroframework/score/pkmeasure.h"
#include "tonaroframework/score/pkmusicregion.h"
#include "tonaropdk/hkbinding.h"

namespace {

namespace tags = simhost::tags;
using simhost::EntryKey;
using simhost::ItemKey;
using simhost::RecordBytes;

class PKSmartShapeTest : public EntriesTest {
 protected:
  void SetUp() override {
    score.Staves(2).Measures(6);
    Music(1, 3, 1, "C4/2 D4/2");
    Music(1, 6, 1, "E4/1");
  }
  simhost::RecordStore& Store() { return host.document.Records(); }

  // Stores a shape record of type 5 from measure `first` to `last` on staff 1, not attached to entries.
  void StoreShape(std::uint16_t number, std::int16_t first, std::int16_t last) {
    RecordBytes bytes(PKSmartShape::kRecordSize, 0);
    bytes[0] = 5;
    const std::int16_t staff = 1;
    std::memcpy(&bytes[6], &staff, 2);
    std::memcpy(&bytes[8], &first, 2);
    std::memcpy(&bytes[36], &staff, 2);
    std::memcpy(&bytes[38], &last, 2);
    Store().Save(tags::kSmartShape, ItemKey(number), bytes);
  }
  // Stores a measure mark naming a shape (and a centre inci) in a measure.
  void StoreMark(std::uint16_t measure, std::int16_t inci, std::uint16_t shape, std::uint16_t centre) {
    RecordBytes bytes(PKSmartShapeMeasureMark::kRecordSize, 0);
    std::memcpy(&bytes[0], &shape, 2);
    std::memcpy(&bytes[2], &centre, 2);
    Store().Save(tags::kShapeMeasureMark, ItemKey(measure, inci), bytes);
  }
  // The marks of a measure as "shape/centre", in inci order.
  std::vector<std::string> MarksOf(std::uint16_t measure) {
    std::vector<std::string> marks;
    PKSmartShapeMeasureMarks loaded;
    loaded.LoadAllForItem(measure);
    for (int i = 0; i < loaded.GetCount(); ++i)
      marks.push_back(std::to_string(loaded.GetMarkAt(i)->GetShapeNumber()) + "/" +
                      std::to_string(loaded.GetMarkAt(i)->GetCenterShapeInci()));
    return marks;
  }
  bool CarriesShapes(std::uint16_t measure) {
    PKMeasure record;
    return record.Load(measure) && (record.GetAuxFlags() & PKMeasure::kAuxSmartShapes) != 0;
  }
};

TEST_F(PKSmartShapeTest, ANewGroupHasAMarkInEveryMeasureAndCentreShapesBetween) {
  StoreShape(1, 3, 6);
  PKSmartShape shape;
  ASSERT_TRUE(shape.Load(1));
  ASSERT_TRUE(shape.SaveNewEverything(nullptr, nullptr));
  EXPECT_EQ(shape.GetItemNo(), 2);
  EXPECT_EQ(MarksOf(3), (std::vector<std::string>{"2/0"}));
  const std::vector<std::string> fourth = MarksOf(4), fifth = MarksOf(5);
  ASSERT_EQ(fourth.size(), 1u);
  ASSERT_EQ(fifth.size(), 1u);
  EXPECT_NE(fourth[0], "2/0") << "a middle measure names its centre shape";
  EXPECT_NE(fifth[0], fourth[0]);
  EXPECT_EQ(MarksOf(6), (std::vector<std::string>{"2/0"}));
  EXPECT_EQ(Store().Count(tags::kCenterShape), 2u);
  EXPECT_EQ(Store().Count(tags::kShapeEntryMark), 0u) << "no entries given";
  for (std::uint16_t measure = 3; measure <= 6; ++measure) EXPECT_TRUE(CarriesShapes(measure)) << measure;
  EXPECT_FALSE(CarriesShapes(2));

  shape._LoadCenterShapes();
  EXPECT_EQ(shape.GetCenterShapes()->GetCount(), 2);
}

TEST_F(PKSmartShapeTest, AShapeWithinOneMeasureHasOneMarkAndNoCentreShape) {
  StoreShape(1, 3, 3);
  PKSmartShape shape;
  ASSERT_TRUE(shape.Load(1));
  PKSmartShape never;
  EXPECT_FALSE(never.SaveNewEverything(nullptr, nullptr)) << "nothing loaded";
  ASSERT_TRUE(shape.SaveNewEverything(nullptr, nullptr));
  EXPECT_EQ(MarksOf(3), (std::vector<std::string>{std::to_string(shape.GetItemNo()) + "/0"}));
  EXPECT_EQ(Store().Count(tags::kCenterShape), 0u);
}

TEST_F(PKSmartShapeTest, EntryMarksGoOnBothEntriesAndFlagThem) {
  LoadedEntries first(1, 3, 3), last(1, 6, 6);
  StoreShape(1, 3, 6);
  PKSmartShape shape;
  ASSERT_TRUE(shape.Load(1));
  ASSERT_TRUE(shape.SaveNewEverything(first[1], last[0]));
  for (PKNoteEntry* entry : {first[1], last[0]}) {
    PKSmartShapeEntryMarks marks;
    marks.LoadAllForENTNUM(std::int32_t(entry->GetEntryNumber()));
    ASSERT_EQ(marks.GetCount(), 1);
    EXPECT_EQ(marks.GetMarkAt(0)->GetShapeNumber(), shape.GetItemNo());
    EXPECT_NE(entry->GetRecord()->flags2 & kEntrySmartShapeFlag, 0);
  }
  EXPECT_EQ(first[0]->GetRecord()->flags2 & kEntrySmartShapeFlag, 0);
}

TEST_F(PKSmartShapeTest, AMarkReadsItsShapeWithTheCentreShapesOfThatShapeOnly) {
  StoreShape(4, 3, 5);
  StoreShape(7, 4, 4);
  StoreMark(3, 0, 4, 0);
  StoreMark(4, 0, 7, 3);  // another shape's mark in the same measure
  StoreMark(4, 1, 4, 2);
  StoreMark(5, 0, 4, 0);
  Store().Save(tags::kCenterShape, simhost::TripleKey(4, 2), RecordBytes(PKCenterSmartShape::kRecordSize, 1));
  Store().Save(tags::kCenterShape, simhost::TripleKey(7, 3), RecordBytes(PKCenterSmartShape::kRecordSize, 2));

  PKSmartShapeMeasureMarks marks;
  marks.LoadAllForItem(3);
  std::unique_ptr<PKSmartShape> shape(marks.GetMarkAt(0)->CreateSmartShape(true));
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->GetItemNo(), 4);
  EXPECT_EQ(shape->GetShapeType(), 5);
  ASSERT_EQ(shape->GetCenterShapes()->GetCount(), 1);
  EXPECT_EQ(static_cast<PKCenterSmartShape*>(shape->GetCenterShapes()->GetItemAt(0))->GetSecond(), 2);
  std::unique_ptr<PKSmartShape> withoutCentres(marks.GetMarkAt(0)->CreateSmartShape(false));
  EXPECT_EQ(withoutCentres->GetCenterShapes()->GetCount(), 0);

  PKSmartShapeMeasureMark empty;
  const std::uint32_t loads = host.CallCount("HK_LoadEData");
  EXPECT_EQ(empty.CreateSmartShape(true), nullptr);
  EXPECT_EQ(host.CallCount("HK_LoadEData"), loads);
  StoreMark(5, 1, 9, 0);
  marks.LoadAllForItem(5);
  EXPECT_EQ(marks.GetMarkAt(1)->CreateSmartShape(true), nullptr) << "shape 9 does not exist";

  PKSmartShapeMeasureMarks all;
  EXPECT_STREQ(all.ClassName(), "PKSmartShapeMeasureMarks");
  ASSERT_TRUE(all.LoadAll());
  std::vector<int> order;
  for (int i = 0; i < all.GetCount(); ++i) order.push_back(all.GetMarkAt(i)->GetItem());
  EXPECT_EQ(order, (std::vector<int>{3, 4, 4, 5, 5}));
}

TEST_F(PKSmartShapeTest, DeleteEverythingRemovesTheWholeGroup) {
  LoadedEntries first(1, 3, 3), last(1, 6, 6);
  const std::uint16_t kept = host.document.AddSlur(std::int32_t(first[0]->GetEntryNumber()),
                                                   std::int32_t(first[1]->GetEntryNumber()));
  const std::uint16_t doomed = host.document.AddSlur(std::int32_t(first[1]->GetEntryNumber()),
                                                     std::int32_t(last[0]->GetEntryNumber()));
  ASSERT_NE(doomed, 0);
  PKSmartShape shape;
  ASSERT_TRUE(shape.Load(doomed));
  EXPECT_TRUE(shape.IsEntryAttached());
  shape._LoadCenterShapes();
  EXPECT_EQ(shape.GetCenterShapes()->GetCount(), 2);
  shape.DeleteEverything();

  EXPECT_EQ(Store().Find(tags::kSmartShape, ItemKey(doomed)), nullptr);
  EXPECT_EQ(Store().Count(tags::kCenterShape), 0u);
  EXPECT_EQ(MarksOf(3), (std::vector<std::string>{std::to_string(kept) + "/0"}));
  EXPECT_TRUE(MarksOf(4).empty());
  EXPECT_TRUE(MarksOf(6).empty());
  EXPECT_EQ(Store().Count(tags::kShapeEntryMark), 2u) << "the marks of the other slur stay";
  EXPECT_NE(Store().Find(tags::kSmartShape, ItemKey(kept)), nullptr);
}

TEST_F(PKSmartShapeTest, AssignToStaffAndIsWithinRegionReadBothEnds) {
  StoreShape(1, 3, 6);
  PKSmartShape shape;
  ASSERT_TRUE(shape.Load(1));
  EXPECT_STREQ(shape.ClassName(), "PKSmartShape");
  EXPECT_STREQ(shape.GetStartSegment()->ClassName(), "PKSmartShapeSegment");
  EXPECT_EQ(shape.GetStartSegment()->GetShape(), &shape);
  shape.AssignToStaff(2);
  EXPECT_EQ(shape.GetStartSegment()->GetStaff(), 2);
  EXPECT_EQ(shape.GetEndSegment()->GetStaff(), 2);
  shape.GetEndSegment()->SetMeasurePos(1024);

  EREGION whole = host.document.WholeDocument();
  PKMusicRegion region(&whole);
  EXPECT_TRUE(shape.IsWithinRegion(&region));
  EREGION early = simhost::Document::MakeRegion(1, 2, 1, 5);
  PKMusicRegion before(&early);
  EXPECT_FALSE(shape.IsWithinRegion(&before));
  EREGION firstStaff = simhost::Document::MakeRegion(1, 1, 1, 6);
  PKMusicRegion staffOne(&firstStaff);
  EXPECT_FALSE(shape.IsWithinRegion(&staffOne));
}

}  // namespace

namespace {

// Custom smart lines take their tag, version and data area from the host's
// version when they are made.
TEST(PKCustomSmartLineDef, TheHostVersionChoosesTagVersionAndDataArea) {
  simhost::Host host;
  RunningTonaroVersion = 0x11000000;
  PKCustomSmartLineDef later;
  RunningTonaroVersion = 0x10FFFFFF;
  PKCustomSmartLineDef earlier;
  EXPECT_STREQ(later.ClassName(), "PKCustomSmartLineDef");
  EXPECT_EQ(later.Tag(), 0x534F6C73u);
  EXPECT_EQ(later.ZorvanVersion(), 0x11000000u);
  EXPECT_EQ(earlier.Tag(), 0x4F066C73u);
  EXPECT_EQ(earlier.ZorvanVersion(), 0x0F000000u);
  EXPECT_NE(later.GetDataBlock(), nullptr);

  RecordBytes bytes(PKCustomSmartLineDef::kRecordSize);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = std::uint8_t(i + 1);
  host.document.Records().Save(PKCustomSmartLineDef::kTag, ItemKey(3), bytes);
  ASSERT_TRUE(later.Load(3));
  EXPECT_EQ(host.LastVersion("HK_LoadEData"), 0x11000000u);
  // A definition of the earlier layout takes the bytes into its own area.
  ASSERT_TRUE(earlier.CloneFrom(&later));
  EXPECT_EQ(earlier.GetItemNo(), 3);
  EXPECT_EQ(std::memcmp(earlier.GetDataBlock(), bytes.data(), bytes.size()), 0);
  EXPECT_NE(earlier.GetDataBlock(), later.GetDataBlock());
  PKCustomSmartLineDef never;
  EXPECT_FALSE(earlier.CloneMemoryFrom(&never));
}

}  // namespace
