// The one container of the framework: a growable array of __PKBase pointers
// that owns the objects it holds. Slots may hold null; every traversal and
// search passes over them.
#pragma once

#include <cstdint>
#include <memory>

#include "tonaroframework/foundation/pkiteratorbase.h"
#include "tonaroframework/foundation/pkiteratorhandler.h"

class __PKCollection : public __PKIteratorBase {
 public:
  __PKCollection() = default;
  __PKCollection(const __PKCollection&) = delete;
  __PKCollection& operator=(const __PKCollection&) = delete;

  // Answers "__PKCollection".
  const char* ClassName() override { return "__PKCollection"; }
  // Calls handler->Iterate on each non-null element from index 0; answers the
  // number of visits that returned true (false stops). 0 for a null handler.
  int ForEach(PKIteratorHandler* handler) override;
  // Answers the first non-null element for which handler->IsMatch is true, or null.
  __PKBase* FindFirst(PKIteratorHandler* handler) override;
  // Destroys every element and releases the array.
  ~__PKCollection() override;
  // As ForEach, calling handler->IterateIndex(element, index).
  virtual int ForEachIndex(PKIteratorHandler* handler);

  // Answers the number of elements in use.
  int GetCount() const { return _count; }
  // Answers the number of slots of the array (0 when there is none).
  int GetCapacity() const { return _capacity; }
  // Answers the element at `index`, or null when the index is out of range.
  __PKBase* GetItemAt(int index) const;
  // Appends `object` (null is allowed), taking ownership of it.
  void Add(__PKBase* object);
  // Inserts `object` at `index`; an index at or past the count appends, a
  // negative index inserts at the front.
  void InsertItemAt(__PKBase* object, int index);
  // Answers the index of the first slot holding this very object, or -1.
  int GetIndexOf(__PKBase* object) const;
  // Answers whether some slot holds this very object.
  bool ElementExists(__PKBase* object) const;
  // Answers the first non-null element whose user data equals `data`, or null.
  __PKBase* FindUserData(void* data) const;
  // Removes the element at `index` without destroying it (the caller owns it
  // again); false and no change when out of range.
  bool DetachItemAt(int index);
  // Removes and destroys the element at `index`; false and no change when out of range.
  bool ClearItemAt(int index);
  // Destroys every element and sets the count to 0; the array stays.
  void ClearAll();
  // Like ForEach, beginning at index `start` (a negative start begins at 0).
  int ToEndFrom(int start, PKIteratorHandler* handler);
  // Exchange sort by handler->Compare; answers whether any two elements were
  // exchanged (false for a null handler). Not stable.
  bool Sort(PKIteratorHandler* handler);

  // Destroys the elements of slots 0..count-1 and nulls those slots; the count
  // stays as it is (the caller resets it).
  void _FreeElements();
  // Makes room for `more` further elements, growing the array to the smallest
  // multiple of 10 above the number needed; 0 or less does nothing.
  void _RequireElement(int more);

 private:
  int _Traverse(int start, PKIteratorHandler* handler, bool withIndex);
  // Takes the element out of its slot, closing the gap.
  void _RemoveSlot(int index);
  bool _IsInRange(int index) const { return index >= 0 && index < _count; }

  std::int32_t _count = 0;
  std::int32_t _capacity = 0;
  std::unique_ptr<__PKBase*[]> _elements;
};
