// Record collections and browsers over the substitute host's store.
#include "tonaroframework/records/pkcollectiondata.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../entries/entrytestsupport.h"
#include "recordtestsupport.h"
#include "simhost/hostmeaning.h"
#include "tonaroframework/foundation/pkiteratorhandler.h"
#include "tonaroframework/records/pkbrowserbase.h"

namespace {

using simhost::EntryKey;
using simhost::ItemKey;
using simhost::TripleKey;
namespace tags = simhost::tags;

// A concrete collection of test records of one tag.
template <class Collection, class Element>
class TestCollection : public Collection {
 public:
  explicit TestCollection(EXTAG tag) : _tag(tag) {}
  Element* CreateElement() override { return new Element(_tag); }

 private:
  EXTAG _tag;
};

using InciOthers = TestCollection<__PKCollectionInciOther, FixedRecord<__PKInciOther>>;
using NoInciOthers = TestCollection<__PKCollectionNoInciOther, FixedRecord<__PKNoInciOther>>;
using NoInciDetails = TestCollection<__PKCollectionNoInciDetail, FixedRecord<__PKNoInciDetail>>;
using EntryDetails = TestCollection<__PKCollectionEntryDetail, FixedRecord<__PKEntryDetail>>;
constexpr std::int32_t kSize = FixedRecord<__PKInciOther>::kSize;

// The first byte of every stored record of an item/inci tag, in key order, as "item.inci:byte".
std::vector<std::string> StoredItems(EXTAG tag) {
  std::vector<std::string> items;
  for (const auto& record : simhost::Host::Current()->document.Records().All(tag)) {
    const std::vector<std::int64_t> numbers = simhost::KeyNumbers(tag, record.first);
    items.push_back(std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + ":" +
                    std::to_string(int((*record.second)[0])));
  }
  return items;
}

// The incis of a collection of entry details, in element order.
std::vector<int> Incis(const __PKCollectionEntryDetail& details) {
  std::vector<int> incis;
  for (int i = 0; i < details.GetCount(); ++i) incis.push_back(details.GetDetailAt(i)->GetInci());
  return incis;
}

// ---- Others ---------------------------------------------------------------

class InciOthersTest : public RecordsTest {
 protected:
  static constexpr EXTAG kTag = tags::kShapeMeasureMark;
  void Item(std::uint16_t item, int count, std::uint8_t first) {
    for (int inci = 0; inci < count; ++inci)
      Store().Save(kTag, ItemKey(item, std::int16_t(inci)), Pattern(kSize, std::uint8_t(first + inci)));
  }
};

TEST_F(InciOthersTest, LoadAllForItemTakesTheIncisUpToTheFirstMissing) {
  Item(4, 2, 40);
  Store().Save(kTag, ItemKey(4, 3), Pattern(kSize, 43));
  InciOthers marks(kTag);
  EXPECT_STREQ(marks.ClassName(), "__PKCollectionInciOther");
  ASSERT_TRUE(marks.LoadAllForItem(4));
  ASSERT_EQ(marks.GetCount(), 2);
  EXPECT_EQ(marks.FindItemNo(4, 1), marks.GetItemAt(1));
  EXPECT_EQ(Loaded(*marks.GetElementAt(1)), Pattern(kSize, 41));
  EXPECT_EQ(marks.FindItemNo(4, 3), nullptr);

  EXPECT_FALSE(marks.LoadAllForItem(5));
  EXPECT_EQ(marks.GetCount(), 0) << "a load that goes ahead clears the elements first";
}

TEST_F(InciOthersTest, DeleteDataForItemDeletesFromTheHighestInciDown) {
  Item(2, 3, 20);
  Item(3, 1, 30);
  InciOthers marks(kTag);
  ASSERT_TRUE(marks.LoadAllForItem(2));
  // The second delete is refused: the first took inci 2, the highest.
  host.FailCall("HK_DeleteEData", 2);
  EXPECT_FALSE(marks.DeleteDataForItem(2));
  EXPECT_EQ(StoredItems(kTag), (std::vector<std::string>{"2.0:20", "2.1:21", "3.0:30"}));

  host.ClearFailures();
  ASSERT_TRUE(marks.DeleteDataForItem(2));
  EXPECT_EQ(StoredItems(kTag), (std::vector<std::string>{"3.0:30"}));
  EXPECT_EQ(marks.GetCount(), 3) << "the elements are left alone";

  const std::uint32_t deletes = host.CallCount("HK_DeleteEData");
  EXPECT_TRUE(marks.DeleteDataForItem(9)) << "an item without records";
  EXPECT_EQ(host.CallCount("HK_DeleteEData"), deletes);
}

TEST_F(InciOthersTest, SaveAllForItemReplacesTheItemsRecordsInElementOrder) {
  Item(1, 2, 10);
  Item(6, 3, 60);
  InciOthers marks(kTag);
  ASSERT_TRUE(marks.LoadAllForItem(1));
  ASSERT_TRUE(marks.SaveAllForItem(6));
  EXPECT_EQ(StoredItems(kTag), (std::vector<std::string>{"1.0:10", "1.1:11", "6.0:10", "6.1:11"}));
  EXPECT_EQ(static_cast<__PKInciOther*>(marks.GetItemAt(1))->GetInci(), 1);
}

TEST_F(InciOthersTest, SaveDataAsCopiesAnItemOntoAnotherAndDropsTheRest) {
  Item(3, 3, 30);
  Item(7, 5, 70);
  InciOthers marks(kTag);
  host.ClearCallLog();
  ASSERT_TRUE(marks.SaveDataAs(3, 7));
  EXPECT_EQ(StoredItems(kTag),
            (std::vector<std::string>{"3.0:30", "3.1:31", "3.2:32", "7.0:30", "7.1:31", "7.2:32"}));
  EXPECT_EQ(marks.GetCount(), 0);
  EXPECT_EQ(host.CallCount("HK_DeleteEData"), 2u);

  EXPECT_FALSE(marks.SaveDataAs(8, 3)) << "nothing to copy";
  EXPECT_EQ(StoredItems(kTag).size(), 6u);
}

class NoInciOthersTest : public RecordsTest {
 protected:
  static constexpr EXTAG kTag = tags::kArticulationDef;
};

TEST_F(NoInciOthersTest, LoadAllAndSaveAllCarryTheTagOverride) {
  for (std::uint16_t item : {1, 2, 3}) Store().Save(kTag, ItemKey(item), Pattern(kSize, std::uint8_t(item * 10)));
  NoInciOthers definitions(kTag);
  EXPECT_FALSE(definitions.SaveAll()) << "an empty collection";
  definitions.SetTagOverride(0x74787870);
  ASSERT_TRUE(definitions.LoadAll());
  ASSERT_EQ(definitions.GetCount(), 3);
  EXPECT_EQ(definitions.FindItemNo(2), definitions.GetItemAt(1));
  EXPECT_EQ(definitions.FindItemNo(4), nullptr);
  EXPECT_EQ(definitions.GetElementAt(0)->GetTagOverride(), 0x74787870u);

  static_cast<FixedRecord<__PKNoInciOther>*>(definitions.GetItemAt(2))->Bytes()[0] = 99;
  definitions.SetTagOverride(0);
  EXPECT_TRUE(definitions.SaveAll());
  EXPECT_EQ(Stored(kTag, ItemKey(3))[0], 99);
  EXPECT_EQ(definitions.GetElementAt(2)->GetTagOverride(), 0u);
}

TEST_F(NoInciOthersTest, LoadAllWithoutAFirstRecordEmptiesTheCollection) {
  Store().Save(kTag, ItemKey(1), Pattern(kSize, 0));
  NoInciOthers definitions(kTag);
  ASSERT_TRUE(definitions.LoadAll());
  Store().Delete(kTag, ItemKey(1));
  Store().Save(kTag, ItemKey(2), Pattern(kSize, 0));
  EXPECT_FALSE(definitions.LoadAll());
  EXPECT_EQ(definitions.GetCount(), 0);
}

// ---- Details --------------------------------------------------------------

TEST_F(RecordsTest, NoInciDetailsLoadFromAStartingSecondNumber) {
  for (std::int16_t second : {1, 2, 3, 5}) Store().Save(tags::kGroup, TripleKey(4, second), Pattern(kSize, 0));
  NoInciDetails groups(tags::kGroup);
  EXPECT_STREQ(groups.ClassName(), "__PKCollectionNoInciDetail");
  ASSERT_TRUE(groups.LoadAllForItem(4, 2));
  ASSERT_EQ(groups.GetCount(), 2);
  EXPECT_EQ(static_cast<__PKNoInciDetail*>(groups.GetItemAt(1))->GetSecond(), 3);
}

// ---- Entry details --------------------------------------------------------

class EntryDetailsTest : public EntriesTest {
 protected:
  static constexpr EXTAG kTag = tags::kShapeEntryMark;
  void SetUp() override {
    score.Staves(1).Measures(1);
    Music(1, 1, 1, "C4/4 D4/4 E4/2");
  }
  void Details(std::int32_t entryNumber, int count) {
    for (int inci = 0; inci < count; ++inci)
      host.document.Records().Save(kTag, EntryKey(entryNumber, std::int16_t(inci)), Pattern(kSize, std::uint8_t(inci)));
  }
};

TEST_F(EntryDetailsTest, LoadAllReadsTheAttachedEntrysDetails) {
  LoadedEntries layer(1, 1, 1);
  const std::int32_t number = std::int32_t(layer[0]->GetEntryNumber());
  Details(number, 3);
  EntryDetails marks(kTag);
  EXPECT_FALSE(marks.LoadAll()) << "no entry attached";

  marks.SetNoteEntry(layer[0]);
  ASSERT_TRUE(marks.LoadAll());
  EXPECT_EQ(Incis(marks), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(marks.GetDetailAt(2)->GetNoteEntry(), layer[0]);
  EXPECT_EQ(marks.GetDetailAt(2)->GetEntryNumber(), number);

  PKNoteEntry unrecorded;
  marks.SetNoteEntry(&unrecorded);
  EXPECT_FALSE(marks.LoadAll());
  EXPECT_EQ(marks.GetCount(), 3) << "a refused load changes nothing";
}

TEST_F(EntryDetailsTest, LoadAllForENTNUMTakesANumberAndNoEntry) {
  LoadedEntries layer(1, 1, 1);
  const std::int32_t number = std::int32_t(layer[1]->GetEntryNumber());
  Details(number, 2);
  EntryDetails marks(kTag);
  ASSERT_TRUE(marks.LoadAllForENTNUM(number));
  EXPECT_EQ(Incis(marks), (std::vector<int>{0, 1}));
  EXPECT_EQ(marks.GetDetailAt(0)->GetNoteEntry(), nullptr);
  EXPECT_FALSE(marks.LoadAllForENTNUM(0));
  EXPECT_EQ(marks.GetCount(), 2);
}

TEST_F(EntryDetailsTest, DestroyItemAtClosesTheGapAsTheHostDoes) {
  LoadedEntries layer(1, 1, 1);
  const std::int32_t number = std::int32_t(layer[0]->GetEntryNumber());
  Details(number, 4);
  EntryDetails marks(kTag);
  ASSERT_TRUE(marks.LoadAllForENTNUM(number));
  ASSERT_TRUE(marks.DestroyItemAt(1));
  EXPECT_EQ(Incis(marks), (std::vector<int>{0, 1, 2}));
  // Each element still addresses the host record holding its bytes.
  for (int i = 0; i < marks.GetCount(); ++i)
    EXPECT_EQ(Stored(kTag, KeyOf(*marks.GetDetailAt(i))), Loaded(*marks.GetDetailAt(i))) << "element " << i;
  EXPECT_EQ(Stored(kTag, EntryKey(number, 3)), std::vector<std::uint8_t>());

  EXPECT_TRUE(marks.DestroyItemAt(0));
  EXPECT_TRUE(marks.DestroyItemAt(0));
  EXPECT_FALSE(marks.DestroyItemAt(0));
  EXPECT_EQ(host.document.Records().Count(kTag), 0u);
}

// ---- Browsers -------------------------------------------------------------

// A browser over test records of one tag.
class TestBrowser : public __PKBrowserNoInciOther {
 public:
  explicit TestBrowser(EXTAG tag) : _tag(tag) {}
  FixedRecord<__PKNoInciOther>* CreateAnObject() override { return new FixedRecord<__PKNoInciOther>(_tag); }

 private:
  EXTAG _tag;
};

// Writes down every handler call; accepts `accept` records, matches `match`.
class RecordingHandler : public PKIteratorHandler {
 public:
  bool PreIterate() override { return Note("pre", pre); }
  bool StartIterate() override { return Note("start", start); }
  bool Iterate(__PKBase* object) override {
    const int item = static_cast<__PKNoInciOther*>(object)->GetItemNo();
    calls.push_back("iterate " + std::to_string(item));
    return accept-- > 0;
  }
  bool IsMatch(__PKBase* object) override {
    const int item = static_cast<__PKNoInciOther*>(object)->GetItemNo();
    calls.push_back("match " + std::to_string(item));
    return item == match;
  }
  void EndIterate() override { calls.push_back("end"); }
  void PostIterate() override { calls.push_back("post"); }

  bool pre = true;
  bool start = true;
  int accept = 100;
  int match = 0;
  std::vector<std::string> calls;

 private:
  bool Note(const char* call, bool answer) {
    calls.push_back(call);
    return answer;
  }
};

class BrowserTest : public RecordsTest {
 protected:
  static constexpr EXTAG kTag = tags::kArticulationDef;
  void SetUp() override {
    for (std::uint16_t item = 1; item <= 3; ++item) Store().Save(kTag, ItemKey(item), Pattern(kSize, 0));
  }
};

TEST_F(BrowserTest, ForEachHandsEveryRecordToTheHandlerInOrder) {
  TestBrowser browser(kTag);
  EXPECT_STREQ(browser.ClassName(), "__PKBrowserNoInciOther");
  RecordingHandler all;
  EXPECT_EQ(browser.ForEach(&all), 3);
  EXPECT_EQ(all.calls, (std::vector<std::string>{"pre", "start", "iterate 1", "iterate 2", "iterate 3", "end",
                                                 "post"}));
  RecordingHandler two;
  two.accept = 2;
  EXPECT_EQ(browser.ForEach(&two), 2);
  EXPECT_EQ(two.calls, (std::vector<std::string>{"pre", "start", "iterate 1", "iterate 2", "iterate 3", "end",
                                                 "post"}));
  RecordingHandler refusing;
  refusing.pre = false;
  EXPECT_EQ(browser.ForEach(&refusing), 0);
  EXPECT_EQ(refusing.calls, (std::vector<std::string>{"pre"}));
  RecordingHandler notStarting;
  notStarting.start = false;
  EXPECT_EQ(browser.ForEach(&notStarting), 0);
  EXPECT_EQ(notStarting.calls, (std::vector<std::string>{"pre", "start", "post"}));
}

TEST_F(BrowserTest, FindFirstHandsTheMatchToTheCaller) {
  TestBrowser browser(kTag);
  RecordingHandler second;
  second.match = 2;
  std::unique_ptr<__PKBase> found(browser.FindFirst(&second));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(static_cast<__PKNoInciOther*>(found.get())->GetItemNo(), 2);
  EXPECT_EQ(second.calls, (std::vector<std::string>{"pre", "start", "match 1", "match 2", "end"}));

  RecordingHandler none;
  none.match = 9;
  EXPECT_EQ(browser.FindFirst(&none), nullptr);
  EXPECT_EQ(none.calls, (std::vector<std::string>{"pre", "start", "match 1", "match 2", "match 3", "post"}));
}

TEST_F(BrowserTest, CountAndWalksFromAnItem) {
  for (std::uint16_t item = 4; item <= 30; ++item) Store().Save(kTag, ItemKey(item), Pattern(kSize, 0));
  TestBrowser browser(kTag);
  EXPECT_EQ(browser.GetCount(), 30);

  RecordingHandler handler;
  handler.accept = 2;
  EXPECT_EQ(browser.ToEndFrom(28, &handler), 2);
  EXPECT_EQ(handler.calls, (std::vector<std::string>{"iterate 28", "iterate 29", "iterate 30"}));
  EXPECT_EQ(browser.ToEndFrom(31, &handler), 0);

  std::unique_ptr<__PKNoInciOther> element(browser.LoadAnElement(5));
  ASSERT_NE(element, nullptr);
  EXPECT_EQ(element->GetItemNo(), 5);
  EXPECT_EQ(browser.LoadAnElement(40), nullptr);

  Store().Delete(kTag, ItemKey(1));
  EXPECT_EQ(browser.GetCount(), 0) << "counting starts at item 1";
}

}  // namespace
