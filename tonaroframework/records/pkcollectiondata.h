// Collections of records: every record of a selection loaded into memory, one
// cloned object per record, owned by the collection until it is reloaded,
// cleared or destroyed. Each loading operation uses one working object of the
// element class, made fresh for the operation and destroyed at its end.
#pragma once

#include <cstdint>
#include <memory>

#include "tonaroframework/foundation/pkcollection.h"
#include "tonaroframework/records/pkbasedata.h"
#include "tonaroframework/records/pkdetail.h"
#include "tonaroframework/records/pkentrydetail.h"
#include "tonaroframework/records/pkother.h"

class PKNoteEntry;

class __PKCollectionData : public __PKCollection {
 public:
  const char* ClassName() override { return "__PKCollectionData"; }
  // Answers a new, empty object of the element class; the caller owns it.
  virtual __PKBaseData* CreateElement() = 0;
  // Replaces the elements by clones of every record from the element class's
  // first record on; answers whether any loaded (the count tells the outcome).
  virtual bool LoadAll();
  // Saves every element under its key, with the collection's tag override;
  // answers the last element's result (false when empty).
  virtual bool SaveAll();

  EXTAG GetTagOverride() const { return _tagOverride; }
  void SetTagOverride(EXTAG tag) { _tagOverride = tag; }
  // Answers element i as a record, or null.
  __PKBaseData* GetElementAt(int index) const { return static_cast<__PKBaseData*>(GetItemAt(index)); }

 protected:
  // Answers a fresh element carrying the collection's tag override.
  template <class Element>
  std::unique_ptr<Element> _CreateWorking(Element* element) {
    std::unique_ptr<Element> working(element);
    if (working != nullptr) working->SetTagOverride(_tagOverride);
    return working;
  }
  // Adds a clone of the working object.
  void _AddClone(__PKBaseData* working);
  // Adds clones of the working object from its current record on, moving
  // with LoadNext until a load fails; `loaded` tells whether the first loaded.
  void _AddWhileLoading(__PKBaseData* working, bool loaded);

 private:
  EXTAG _tagOverride = 0;
};

// Others with inci: a series of records per item.
class __PKCollectionInciOther : public __PKCollectionData {
 public:
  const char* ClassName() override { return "__PKCollectionInciOther"; }
  __PKInciOther* CreateElement() override = 0;
  // Deletes every record of the item, highest inci first; false at the first
  // load or delete that fails.
  virtual bool DeleteDataForItem(std::uint16_t item);
  // Replaces the elements by the item's records, inci 0 on.
  virtual bool LoadAllForItem(std::uint16_t item);
  // Replaces the item's records by the elements, created anew in element
  // order; false at the first failure.
  virtual bool SaveAllForItem(std::uint16_t item);

  // Copies the records of item `from` onto item `to` (incis 0 on), deleting
  // the records of `to` beyond them; the elements are left alone.
  bool SaveDataAs(std::uint16_t from, std::uint16_t to);
  // Answers the first element keyed (item, inci), or null.
  __PKInciOther* FindItemNo(std::uint16_t item, std::int16_t inci) const;

 private:
  // Answers how many incis of the item load, from 0 up, with `working`.
  static int _CountIncis(__PKInciOther* working, std::uint16_t item);
};

// Others without inci: one record per item.
class __PKCollectionNoInciOther : public __PKCollectionData {
 public:
  const char* ClassName() override { return "__PKCollectionNoInciOther"; }
  __PKNoInciOther* CreateElement() override = 0;

  // Answers the first element with that item number, or null.
  __PKNoInciOther* FindItemNo(std::uint16_t item) const;
};

class __PKCollectionDetail : public __PKCollectionData {
 public:
  const char* ClassName() override { return "__PKCollectionDetail"; }
};

// Details without inci: one record per pair of numbers.
class __PKCollectionNoInciDetail : public __PKCollectionDetail {
 public:
  const char* ClassName() override { return "__PKCollectionNoInciDetail"; }
  __PKNoInciDetail* CreateElement() override = 0;
  // Replaces the elements by the records (first, start), (first, start + 1)
  // and so on, up to the first that does not load.
  virtual bool LoadAllForItem(std::uint16_t first, std::uint16_t start);
};

// Entry details: the records of one entry, incis 0 on.
class __PKCollectionEntryDetail : public __PKCollectionData {
 public:
  const char* ClassName() override { return "__PKCollectionEntryDetail"; }
  __PKEntryDetail* CreateElement() override = 0;
  // Replaces the elements by the attached entry's details, each attached to
  // the entry; false, changing nothing, without an entry that has a number.
  bool LoadAll() override;

  // Replaces the elements by the details of an entry given by number (no
  // entry attached to them); false, changing nothing, for number 0.
  bool LoadAllForENTNUM(std::int32_t entryNumber);
  // Deletes the record of element `index` and destroys the element, lowering
  // the incis above it as the host closes the gap; answers whether elements remain.
  bool DestroyItemAt(int index);

  PKNoteEntry* GetNoteEntry() const { return _entry; }
  // Binds the entry (not owned) whose details LoadAll reads.
  void SetNoteEntry(PKNoteEntry* entry) { _entry = entry; }
  // Answers element i as an entry detail, or null.
  __PKEntryDetail* GetDetailAt(int index) const { return static_cast<__PKEntryDetail*>(GetItemAt(index)); }

 private:
  PKNoteEntry* _entry = nullptr;
};
