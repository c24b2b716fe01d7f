#include "tonaroframework/foundation/pkcollection.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// An element that carries a number and counts its destructions.
class Counted : public __PKBase {
 public:
  Counted(int number, int* destroyed) : value(number), _destroyed(destroyed) {}
  ~Counted() override {
    if (_destroyed != nullptr) ++*_destroyed;
  }
  int value;

 private:
  int* _destroyed;
};

int ValueOf(__PKBase* object) { return static_cast<Counted*>(object)->value; }

// A collection of counted elements with the given values.
class CollectionTest : public ::testing::Test {
 protected:
  void Fill(std::vector<int> values) {
    for (int v : values) collection.Add(new Counted(v, &destroyed));
  }
  std::vector<int> Values() const {
    std::vector<int> values;
    for (int i = 0; i < collection.GetCount(); ++i) {
      __PKBase* e = collection.GetItemAt(i);
      values.push_back(e ? ValueOf(e) : -1);
    }
    return values;
  }
  int destroyed = 0;
  __PKCollection collection;
};

// A handler whose visits run a caller-supplied function.
class VisitHandler : public PKIteratorHandler {
 public:
  explicit VisitHandler(std::function<bool(__PKBase*, int)> visit) : _visit(std::move(visit)) {}
  bool Iterate(__PKBase* object) override {
    visited.push_back(ValueOf(object));
    return _visit(object, -1);
  }
  bool IterateIndex(__PKBase* object, int index) override {
    visited.push_back(ValueOf(object));
    indexes.push_back(index);
    return _visit(object, index);
  }
  std::vector<int> visited;
  std::vector<int> indexes;

 private:
  std::function<bool(__PKBase*, int)> _visit;
};

class ValueMatch : public PKIteratorHandler {
 public:
  explicit ValueMatch(int wanted) : _wanted(wanted) {}
  bool IsMatch(__PKBase* object) override { return ValueOf(object) == _wanted; }

 private:
  int _wanted;
};

class ByValue : public PKIteratorHandler {
 public:
  int Compare(__PKBase* first, __PKBase* second) override {
    ++comparisons;
    return ValueOf(first) / divisor - ValueOf(second) / divisor;
  }
  int divisor = 1;
  int comparisons = 0;
};

TEST_F(CollectionTest, AnswersItsNames) {
  EXPECT_STREQ(collection.ClassName(), "__PKCollection");
  EXPECT_STREQ(collection.__PKIteratorBase::ClassName(), "__PKIteratorBase");
}

TEST_F(CollectionTest, NewCollectionIsEmptyWithoutArray) {
  EXPECT_EQ(collection.GetCount(), 0);
  EXPECT_EQ(collection.GetCapacity(), 0);
  EXPECT_EQ(collection.GetItemAt(0), nullptr);
}

TEST_F(CollectionTest, GrowsByMultiplesOfTenAboveTheNumberNeeded) {
  struct Case {
    int adds, capacity;
  };
  const Case cases[] = {{1, 10}, {9, 10}, {10, 10}, {11, 20}, {20, 20}, {21, 30}, {35, 40}};
  for (const Case& c : cases) {
    __PKCollection grown;
    for (int i = 0; i < c.adds; ++i) grown.Add(nullptr);
    EXPECT_EQ(grown.GetCapacity(), c.capacity) << c.adds << " adds";
    EXPECT_EQ(grown.GetCount(), c.adds);
  }
}

TEST_F(CollectionTest, RequireElementMakesRoomOnlyWhenItDoesNotFit) {
  struct Case {
    int present, more, capacity;
  };
  const Case cases[] = {
      {0, 0, 0}, {0, -3, 0}, {0, 1, 10}, {0, 9, 10}, {0, 10, 20}, {0, 25, 30},
      {9, 1, 10},  // the last free slot is enough
      {10, 1, 20}, {5, 15, 30},
  };
  for (const Case& c : cases) {
    __PKCollection grown;
    for (int i = 0; i < c.present; ++i) grown.Add(nullptr);
    grown._RequireElement(c.more);
    EXPECT_EQ(grown.GetCapacity(), c.capacity) << c.present << " present, " << c.more << " more";
    EXPECT_EQ(grown.GetCount(), c.present);
  }
}

TEST_F(CollectionTest, AnswersElementsOnlyInRange) {
  Fill({10, 20, 30});
  EXPECT_EQ(collection.GetItemAt(-1), nullptr);
  EXPECT_EQ(collection.GetItemAt(3), nullptr);
  EXPECT_EQ(ValueOf(collection.GetItemAt(2)), 30);
  Counted stranger(99, nullptr);
  EXPECT_EQ(collection.GetIndexOf(&stranger), -1);
  EXPECT_FALSE(collection.ElementExists(&stranger));
  EXPECT_EQ(collection.GetIndexOf(collection.GetItemAt(1)), 1);
  EXPECT_TRUE(collection.ElementExists(collection.GetItemAt(1)));
}

TEST_F(CollectionTest, FindsElementsByUserData) {
  Fill({1, 2, 3});
  int a = 0, b = 0;
  collection.InsertItemAt(nullptr, 0);
  collection.GetItemAt(2)->SetUserData(&a);
  collection.GetItemAt(3)->SetUserData(&a);
  EXPECT_EQ(ValueOf(collection.FindUserData(&a)), 2);
  EXPECT_EQ(collection.FindUserData(&b), nullptr);
  EXPECT_EQ(ValueOf(collection.FindUserData(nullptr)), 1) << "the null slot is passed over";
}

TEST_F(CollectionTest, InsertsAtTheIndexAppendsPastTheEndAndFrontsNegativeIndexes) {
  struct Case {
    int index;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {0, {9, 1, 2, 3}}, {1, {1, 9, 2, 3}}, {2, {1, 2, 9, 3}}, {3, {1, 2, 3, 9}}, {8, {1, 2, 3, 9}}, {-1, {9, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    int count = 0;
    __PKCollection list;
    for (int v : {1, 2, 3}) list.Add(new Counted(v, &count));
    list.InsertItemAt(new Counted(9, &count), c.index);
    std::vector<int> values;
    for (int i = 0; i < list.GetCount(); ++i) values.push_back(ValueOf(list.GetItemAt(i)));
    EXPECT_EQ(values, c.expected) << "at " << c.index;
  }
}

TEST_F(CollectionTest, InsertingIntoAFullArrayGrowsIt) {
  Fill({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  EXPECT_EQ(collection.GetCapacity(), 10);
  collection.InsertItemAt(new Counted(42, &destroyed), 4);
  EXPECT_EQ(collection.GetCapacity(), 20);
  EXPECT_EQ(Values(), (std::vector<int>{0, 1, 2, 3, 42, 4, 5, 6, 7, 8, 9}));
}

TEST_F(CollectionTest, ClearItemAtDestroysAndDetachItemAtHandsBack) {
  Fill({1, 2, 3, 4});
  EXPECT_TRUE(collection.ClearItemAt(1));
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(Values(), (std::vector<int>{1, 3, 4}));

  __PKBase* detached = collection.GetItemAt(0);
  EXPECT_TRUE(collection.DetachItemAt(0));
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(Values(), (std::vector<int>{3, 4}));
  EXPECT_FALSE(collection.ElementExists(detached));
  delete detached;
  EXPECT_EQ(destroyed, 2);

  for (int index : {-1, 2, 5}) {
    EXPECT_FALSE(collection.ClearItemAt(index));
    EXPECT_FALSE(collection.DetachItemAt(index));
  }
  EXPECT_EQ(Values(), (std::vector<int>{3, 4}));
  EXPECT_EQ(destroyed, 2);
}

TEST_F(CollectionTest, DetachingTheOnlyElementLeavesItAlive) {
  Fill({7});
  __PKBase* only = collection.GetItemAt(0);
  EXPECT_TRUE(collection.DetachItemAt(0));
  EXPECT_EQ(collection.GetCount(), 0);
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(ValueOf(only), 7);
  delete only;
}

TEST_F(CollectionTest, ClearAllDestroysEveryElementAndKeepsTheArray) {
  Fill({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  collection.InsertItemAt(nullptr, 3);
  collection.ClearAll();
  EXPECT_EQ(destroyed, 11);
  EXPECT_EQ(collection.GetCount(), 0);
  EXPECT_EQ(collection.GetCapacity(), 20);
  Fill({5});
  EXPECT_EQ(Values(), (std::vector<int>{5}));
}

TEST_F(CollectionTest, DestructionDestroysEveryElement) {
  int count = 0;
  {
    __PKCollection list;
    for (int v : {1, 2, 3}) list.Add(new Counted(v, &count));
    list.Add(nullptr);
  }
  EXPECT_EQ(count, 3);
}

TEST_F(CollectionTest, FreeElementsWithoutResetLeavesOnlyNullSlots) {
  Fill({1, 2, 3});
  collection._FreeElements();
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(collection.GetCount(), 3);
  EXPECT_EQ(collection.GetItemAt(1), nullptr);
  VisitHandler handler([](__PKBase*, int) { return true; });
  EXPECT_EQ(collection.ForEach(&handler), 0);
  EXPECT_TRUE(handler.visited.empty());
  EXPECT_EQ(collection.FindFirst(&handler), nullptr);
  collection.ClearAll();
  EXPECT_EQ(destroyed, 3);
}

TEST_F(CollectionTest, ForEachStopsWhenTheHandlerSaysFalse) {
  Fill({1, 2, 3, 4});
  VisitHandler handler([](__PKBase* e, int) { return ValueOf(e) != 3; });
  EXPECT_EQ(collection.ForEach(&handler), 2);
  EXPECT_EQ(handler.visited, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(collection.ForEach(nullptr), 0);
}

TEST_F(CollectionTest, TraversalsSkipNullSlotsWithoutCountingThem) {
  Fill({1, 2, 3});
  collection.InsertItemAt(nullptr, 1);
  collection.Add(nullptr);
  VisitHandler all([](__PKBase*, int) { return true; });
  EXPECT_EQ(collection.ForEach(&all), 3);
  EXPECT_EQ(all.visited, (std::vector<int>{1, 2, 3}));

  VisitHandler indexed([](__PKBase*, int) { return true; });
  EXPECT_EQ(collection.ForEachIndex(&indexed), 3);
  EXPECT_EQ(indexed.indexes, (std::vector<int>{0, 2, 3}));

  VisitHandler fromTwo([](__PKBase*, int) { return true; });
  EXPECT_EQ(collection.ToEndFrom(2, &fromTwo), 2);
  EXPECT_EQ(fromTwo.visited, (std::vector<int>{2, 3}));
  VisitHandler pastEnd([](__PKBase*, int) { return true; });
  EXPECT_EQ(collection.ToEndFrom(9, &pastEnd), 0);
}

TEST_F(CollectionTest, ElementsAddedDuringAVisitAreVisitedLater) {
  Fill({1, 2});
  VisitHandler handler([this](__PKBase* e, int) {
    if (ValueOf(e) < 3) collection.Add(new Counted(ValueOf(e) + 10, &destroyed));
    return true;
  });
  EXPECT_EQ(collection.ForEach(&handler), 4);
  EXPECT_EQ(handler.visited, (std::vector<int>{1, 2, 11, 12}));
}

TEST_F(CollectionTest, RemovingDuringAVisitPassesOverTheElementThatMovesIn) {
  struct Case {
    int removeWhenVisiting;  // value whose visit removes something
    int removedIndexOffset;  // 0: the visited element itself, -1: the one before it
    std::vector<int> visited;
    int accepted;
    std::vector<int> left;
  };
  const Case cases[] = {
      {2, 0, {1, 2, 4, 5}, 4, {1, 3, 4, 5}},
      {3, -1, {1, 2, 3, 5}, 4, {1, 3, 4, 5}},
      {5, 0, {1, 2, 3, 4, 5}, 5, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    int count = 0;
    __PKCollection list;
    for (int v : {1, 2, 3, 4, 5}) list.Add(new Counted(v, &count));
    VisitHandler handler([&](__PKBase* e, int index) {
      if (ValueOf(e) == c.removeWhenVisiting) list.ClearItemAt(index + c.removedIndexOffset);
      return true;
    });
    EXPECT_EQ(list.ForEachIndex(&handler), c.accepted) << "removing at " << c.removeWhenVisiting;
    EXPECT_EQ(handler.visited, c.visited) << "removing at " << c.removeWhenVisiting;
    std::vector<int> left;
    for (int i = 0; i < list.GetCount(); ++i) left.push_back(ValueOf(list.GetItemAt(i)));
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(count, 1);
  }
}

TEST_F(CollectionTest, ClearingEverythingDuringAVisitEndsTheWalk) {
  Fill({1, 2, 3});
  VisitHandler handler([this](__PKBase*, int) {
    collection.ClearAll();
    return true;
  });
  EXPECT_EQ(collection.ForEach(&handler), 1);
  EXPECT_EQ(destroyed, 3);
}

TEST_F(CollectionTest, FindFirstAnswersTheFirstMatchOrNull) {
  ValueMatch two(2);
  EXPECT_EQ(collection.FindFirst(&two), nullptr);
  Fill({1, 3});
  EXPECT_EQ(collection.FindFirst(&two), nullptr);
  Fill({2, 2});
  collection.InsertItemAt(nullptr, 0);
  EXPECT_EQ(collection.FindFirst(&two), collection.GetItemAt(3));
  EXPECT_EQ(collection.FindFirst(nullptr), nullptr);
}

TEST_F(CollectionTest, SortOrdersAscendingAndReportsExchanges) {
  struct Case {
    std::vector<int> values;
    bool exchanged;
    std::vector<int> sorted;
  };
  const Case cases[] = {
      {{3, 1, 2}, true, {1, 2, 3}},
      {{1, 2, 3}, false, {1, 2, 3}},
      {{5, 4, 3, 2, 1}, true, {1, 2, 3, 4, 5}},
      {{}, false, {}},
      {{7}, false, {7}},
      {{2, 2, 1, 1}, true, {1, 1, 2, 2}},
  };
  for (const Case& c : cases) {
    int count = 0;
    __PKCollection list;
    for (int v : c.values) list.Add(new Counted(v, &count));
    ByValue byValue;
    EXPECT_EQ(list.Sort(&byValue), c.exchanged);
    std::vector<int> sorted;
    for (int i = 0; i < list.GetCount(); ++i) sorted.push_back(ValueOf(list.GetItemAt(i)));
    EXPECT_EQ(sorted, c.sorted);
  }
  EXPECT_FALSE(collection.Sort(nullptr));
}

TEST_F(CollectionTest, SortWithEveryElementEqualChangesNothing) {
  Fill({3, 1, 2});
  PKIteratorHandler equal;
  EXPECT_FALSE(collection.Sort(&equal));
  EXPECT_EQ(Values(), (std::vector<int>{3, 1, 2}));
}

TEST_F(CollectionTest, SortLeavesNullSlotsWhereTheyAre) {
  Fill({3, 1, 2});
  collection.InsertItemAt(nullptr, 1);
  ByValue byValue;
  EXPECT_TRUE(collection.Sort(&byValue));
  EXPECT_EQ(Values(), (std::vector<int>{1, -1, 2, 3}));
}

TEST_F(CollectionTest, SortIsNotStable) {
  // Compared by tens only: 20 and 21 are equal. The exchange of 20 with 10
  // carries 20 past 21, so the two equal elements end in reverse order.
  Fill({20, 21, 10});
  ByValue byTens;
  byTens.divisor = 10;
  EXPECT_TRUE(collection.Sort(&byTens));
  EXPECT_EQ(Values(), (std::vector<int>{10, 21, 20}));
  EXPECT_EQ(byTens.comparisons, 3);
}

}  // namespace
