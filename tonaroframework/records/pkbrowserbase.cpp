#include "tonaroframework/records/pkbrowserbase.h"

#include <memory>

#include "tonaroframework/foundation/pkiteratorhandler.h"

int __PKBrowserBaseData::ForEach(PKIteratorHandler* handler) {
  if (handler == nullptr || !handler->PreIterate()) return 0;
  std::unique_ptr<__PKBaseData> object(CreateAnObject());
  int tally = 0;
  if (object != nullptr && object->LoadFirst() && handler->StartIterate()) {
    while (handler->Iterate(object.get())) {
      ++tally;
      if (!object->LoadNext()) break;
    }
    handler->EndIterate();
  }
  handler->PostIterate();
  return tally;
}

__PKBase* __PKBrowserBaseData::FindFirst(PKIteratorHandler* handler) {
  if (handler == nullptr || !handler->PreIterate()) return nullptr;
  std::unique_ptr<__PKBaseData> object(CreateAnObject());
  if (object != nullptr && object->LoadFirst() && handler->StartIterate()) {
    do {
      if (handler->IsMatch(object.get())) {
        handler->EndIterate();
        return object.release();
      }
    } while (object->LoadNext());
  }
  handler->PostIterate();
  return nullptr;
}

__PKNoInciOther* __PKBrowserNoInciOther::LoadAnElement(std::uint16_t item) {
  std::unique_ptr<__PKNoInciOther> object(CreateAnObject());
  if (object == nullptr || !object->Load(item)) return nullptr;
  return object.release();
}

int __PKBrowserNoInciOther::ToEndFrom(std::uint16_t item, PKIteratorHandler* handler) {
  if (handler == nullptr) return 0;
  std::unique_ptr<__PKNoInciOther> object(LoadAnElement(item));
  if (object == nullptr) return 0;
  int tally = 0;
  while (handler->Iterate(object.get())) {
    ++tally;
    if (!object->LoadNext()) break;
  }
  return tally;
}

int __PKBrowserNoInciOther::GetCount() {
  std::unique_ptr<__PKNoInciOther> object(LoadAnElement(1));
  if (object == nullptr) return 0;
  int count = 1;
  while (object->LoadNext()) ++count;
  return count;
}
