// The two traversals that every container and record browser offers.
#pragma once

#include "tonaroframework/foundation/pkbase.h"

class PKIteratorHandler;

class __PKIteratorBase : public __PKBase {
 public:
  // Answers "__PKIteratorBase".
  const char* ClassName() override { return "__PKIteratorBase"; }
  // Visits the elements with `handler`; answers how many visits it accepted (0 for a null handler).
  virtual int ForEach(PKIteratorHandler* handler) = 0;
  // Answers the first element that `handler` matches, or null.
  virtual __PKBase* FindFirst(PKIteratorHandler* handler) = 0;
};
