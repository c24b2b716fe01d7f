// Browsers: walks over records one at a time with a single working object
// and an iteration handler, keeping nothing afterwards.
#pragma once

#include <cstdint>

#include "tonaroframework/foundation/pkiteratorbase.h"
#include "tonaroframework/records/pkbasedata.h"
#include "tonaroframework/records/pkother.h"

class PKIteratorHandler;

class __PKBrowserBase : public __PKIteratorBase {
 public:
  const char* ClassName() override { return "__PKBrowserBase"; }
};

class __PKBrowserBaseData : public __PKBrowserBase {
 public:
  const char* ClassName() override { return "__PKBrowserBaseData"; }
  // Hands each record, from the first on, to the handler's Iterate until it
  // answers false or no record follows; answers how many it accepted.
  int ForEach(PKIteratorHandler* handler) override;
  // Answers the working object at the first record the handler matches, which
  // the caller then owns, or null.
  __PKBase* FindFirst(PKIteratorHandler* handler) override;
  // Answers a new working object of the browsed class; the browser destroys it.
  virtual __PKBaseData* CreateAnObject() = 0;
};

class __PKBrowserNoInciOther : public __PKBrowserBaseData {
 public:
  const char* ClassName() override { return "__PKBrowserNoInciOther"; }
  __PKNoInciOther* CreateAnObject() override = 0;

  // Answers a new working object loaded with the record of `item`, or null
  // when it does not load; the caller owns it.
  __PKNoInciOther* LoadAnElement(std::uint16_t item);
  // Hands the records from `item` on to the handler's Iterate until it answers
  // false or no record follows; answers how many it accepted.
  int ToEndFrom(std::uint16_t item, PKIteratorHandler* handler);
  // Answers how many records are reached from item 1 on.
  int GetCount();
};
