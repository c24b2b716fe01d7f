// The callback object of every traversal. A caller derives from it and
// overrides what its traversal calls; the defaults let every other call pass.
#pragma once

#include "tonaroframework/foundation/pkbase.h"

class PKIteratorHandler : public __PKBase {
 public:
  // Visits one element; false stops the traversal. Default: true.
  virtual bool Iterate(__PKBase* object);
  // Visits an entry of a cell again after the first pass; false stops. Default: true.
  virtual bool IterateSecondPass(__PKBase* object);
  // Visits one element with its index; false stops. Default: true.
  virtual bool IterateIndex(__PKBase* object, int index);
  // Answers whether the element is the one sought. Default: true.
  virtual bool IsMatch(__PKBase* object);
  // Answers greater than 0 when `first` belongs after `second`. Default: 0 (equal).
  virtual int Compare(__PKBase* first, __PKBase* second);
  // Called before a browser starts; false makes it do nothing more. Default: true.
  virtual bool PreIterate();
  // Called once the first element is at hand; false skips the loop. Default: true.
  virtual bool StartIterate();
  // Closing notification of a traversal that PreIterate allowed. Default: nothing.
  virtual void PostIterate();
  // Notification that elements were processed. Default: nothing.
  virtual void EndIterate();

  // Set by the caller: a browser saves what it iterated back to the document.
  bool SaveAfterIterate = false;
};
