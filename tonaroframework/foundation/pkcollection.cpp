#include "tonaroframework/foundation/pkcollection.h"

#include <cstdint>
#include <limits>
#include <new>
#include <utility>

__PKCollection::~__PKCollection() {
  _FreeElements();
  _elements.reset();
  _count = 0;
}

__PKBase* __PKCollection::GetItemAt(int index) const {
  return _IsInRange(index) ? _elements[index] : nullptr;
}

void __PKCollection::_RequireElement(int more) {
  if (more <= 0 || more <= _capacity - _count) return;
  // The arithmetic below must not pass the 32-bit range; a request that
  // large can only be an allocation failure.
  if (more > std::numeric_limits<std::int32_t>::max() - 10 - _count) throw std::bad_alloc();
  const std::int32_t capacity = (_count + more + 10) / 10 * 10;
  std::unique_ptr<__PKBase*[]> grown(new __PKBase*[capacity]());
  for (std::int32_t i = 0; i < _count; ++i) grown[i] = _elements[i];
  _elements = std::move(grown);
  _capacity = capacity;
}

void __PKCollection::Add(__PKBase* object) {
  _RequireElement(1);
  _elements[_count++] = object;
}

void __PKCollection::InsertItemAt(__PKBase* object, int index) {
  if (index >= _count) {
    Add(object);
    return;
  }
  if (index < 0) index = 0;
  _RequireElement(1);
  for (std::int32_t i = _count; i > index; --i) _elements[i] = _elements[i - 1];
  _elements[index] = object;
  ++_count;
}

int __PKCollection::GetIndexOf(__PKBase* object) const {
  for (std::int32_t i = 0; i < _count; ++i)
    if (_elements[i] == object) return i;
  return -1;
}

bool __PKCollection::ElementExists(__PKBase* object) const { return GetIndexOf(object) >= 0; }

__PKBase* __PKCollection::FindUserData(void* data) const {
  for (std::int32_t i = 0; i < _count; ++i)
    if (_elements[i] != nullptr && _elements[i]->GetUserData() == data) return _elements[i];
  return nullptr;
}

void __PKCollection::_RemoveSlot(int index) {
  for (std::int32_t i = index; i + 1 < _count; ++i) _elements[i] = _elements[i + 1];
  --_count;
  _elements[_count] = nullptr;
}

bool __PKCollection::DetachItemAt(int index) {
  if (!_IsInRange(index)) return false;
  _RemoveSlot(index);
  return true;
}

bool __PKCollection::ClearItemAt(int index) {
  if (!_IsInRange(index)) return false;
  __PKBase* element = _elements[index];
  // The slot is closed before the element goes, so the collection is
  // consistent while the element's destructor runs.
  _RemoveSlot(index);
  delete element;
  return true;
}

void __PKCollection::_FreeElements() {
  for (std::int32_t i = 0; i < _count; ++i) {
    __PKBase* element = _elements[i];
    _elements[i] = nullptr;
    delete element;
  }
}

void __PKCollection::ClearAll() {
  _FreeElements();
  _count = 0;
}

int __PKCollection::_Traverse(int start, PKIteratorHandler* handler, bool withIndex) {
  if (handler == nullptr) return 0;
  if (start < 0) start = 0;
  int accepted = 0;
  // The bound is re-read after every accepted visit: elements appended during
  // a visit are visited too, and after a removal the walk goes on from the
  // same index, passing over the element that moved into it.
  int bound = _count;
  for (int index = start; index < bound; ++index) {
    __PKBase* element = GetItemAt(index);
    if (element == nullptr) continue;
    const bool goOn = withIndex ? handler->IterateIndex(element, index) : handler->Iterate(element);
    if (!goOn) break;
    ++accepted;
    bound = _count;
  }
  return accepted;
}

int __PKCollection::ForEach(PKIteratorHandler* handler) { return _Traverse(0, handler, false); }

int __PKCollection::ForEachIndex(PKIteratorHandler* handler) { return _Traverse(0, handler, true); }

int __PKCollection::ToEndFrom(int start, PKIteratorHandler* handler) {
  return _Traverse(start, handler, false);
}

__PKBase* __PKCollection::FindFirst(PKIteratorHandler* handler) {
  if (handler == nullptr) return nullptr;
  for (int index = 0; index < _count; ++index) {
    __PKBase* element = GetItemAt(index);
    if (element != nullptr && handler->IsMatch(element)) return element;
  }
  return nullptr;
}

bool __PKCollection::Sort(PKIteratorHandler* handler) {
  if (handler == nullptr) return false;
  bool exchanged = false;
  // The count is re-read on every step: a comparison may change the collection.
  for (int i = 0; i < _count - 1; ++i) {
    for (int j = i + 1; j < _count; ++j) {
      __PKBase* first = GetItemAt(i);
      __PKBase* second = GetItemAt(j);
      if (first == nullptr || second == nullptr) continue;
      if (handler->Compare(first, second) > 0 && _IsInRange(i) && _IsInRange(j)) {
        std::swap(_elements[i], _elements[j]);
        exchanged = true;
      }
    }
  }
  return exchanged;
}
