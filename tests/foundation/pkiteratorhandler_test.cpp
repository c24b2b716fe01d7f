#include "tonaroframework/foundation/pkiteratorhandler.h"

#include <gtest/gtest.h>

#include "tonaroframework/foundation/pkcollection.h"

namespace {

TEST(PKIteratorHandler, DefaultsLetEveryCallPass) {
  PKIteratorHandler handler;
  __PKBase a, b;
  EXPECT_STREQ(handler.ClassName(), "__PKBase");
  EXPECT_TRUE(handler.Iterate(&a));
  EXPECT_TRUE(handler.IterateSecondPass(&a));
  EXPECT_TRUE(handler.IterateIndex(&a, 3));
  EXPECT_TRUE(handler.IsMatch(&a));
  EXPECT_EQ(handler.Compare(&a, &b), 0);
  EXPECT_TRUE(handler.PreIterate());
  EXPECT_TRUE(handler.StartIterate());
  handler.PostIterate();
  handler.EndIterate();
  EXPECT_FALSE(handler.SaveAfterIterate);
}

// Overrides only what a count needs; everything else keeps its default.
class CountingHandler : public PKIteratorHandler {
 public:
  bool Iterate(__PKBase*) override {
    ++visits;
    return true;
  }
  int visits = 0;
};

TEST(PKIteratorHandler, AHandlerOverridingOneOperationWorksWithEveryTraversal) {
  __PKCollection collection;
  for (int i = 0; i < 3; ++i) collection.Add(new __PKBase);
  CountingHandler handler;
  EXPECT_EQ(collection.ForEach(&handler), 3);
  EXPECT_EQ(handler.visits, 3);
  EXPECT_EQ(collection.ForEachIndex(&handler), 3);
  EXPECT_EQ(collection.FindFirst(&handler), collection.GetItemAt(0));
  EXPECT_FALSE(collection.Sort(&handler));
}

}  // namespace
