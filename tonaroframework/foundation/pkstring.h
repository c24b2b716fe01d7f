// The framework's text type and the list of strings that splitting produces.
//
// A character is one 16-bit signed unit. Byte text handed to a string is
// widened byte by byte as signed 8-bit values (byte 0xE9 becomes unit 0xFFE9);
// byte text taken out of a string keeps the low 8 bits of each unit, so byte
// text passes through a string unchanged.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"
#include "tonaroframework/foundation/pkbase.h"
#include "tonaroframework/foundation/pkcollection.h"

// The host's path record: 260 bytes whose first member is the full path as
// NUL-terminated byte text.
struct TonPathSpec2009;

class PKStrings;

class PKString : public __PKBase {
 public:
  PKString() = default;
  // Copies the text of `other` (not its byte text or user data).
  PKString(const PKString& other);
  // Replaces the text with that of `other`.
  PKString& operator=(const PKString& other);

  // Answers "PKString".
  const char* ClassName() override { return "PKString"; }
  ~PKString() override = default;

  // Replaces the text with the bytes of `text`; empty or null text releases the storage.
  void SetCString(const char* text);
  // Replaces the text with a copy of `other`'s units; null changes nothing.
  void SetString(PKString* other);
  // Replaces the text with the units of a 0-terminated 16-bit text; empty or
  // null text releases the storage.
  void SetUnicodeString(const std::int16_t* text);
  // Replaces the text with the decimal form of `value` ("%d").
  void SetInteger(int value);
  // Replaces the unit at `index`; an index out of range changes nothing.
  void SetItemAt(int index, std::int16_t character);
  // Appends the bytes of `text`; null appends nothing.
  void Append(const char* text);
  // Appends `other`'s units (the text as it was, when `other` is this string); null appends nothing.
  void Append(PKString* other);
  // Appends one unit.
  void Append(std::int16_t character);
  // Appends `count` units as they are (0 units included); nothing for a count of 0 or less.
  void AppendUnits(const std::int16_t* units, int count);
  // Appends the decimal form of `value` ("%d").
  void AppendInteger(int value);
  // Replaces the text with the path held in the host's path record (at most
  // its 260 bytes are read; a null record gives the empty string); always true.
  bool MakeFullFilePath(const TonPathSpec2009* path);
  // Sets the text from string resource `id` of the module named `moduleName`
  // (null: the module of the previous call); answers false and sets
  // "Resource String Error" when the resource is missing.
  bool LoadResource(int id, const char* moduleName);

  // Answers the number of characters.
  int GetLength() const { return _length; }
  // Answers the number of units the storage holds (0 when there is none).
  int GetCapacity() const { return _capacity; }
  // Answers the unit at `index`, or 0 when out of range.
  std::int16_t GetItemAt(int index) const;
  // Answers the text as NUL-terminated bytes (the low 8 bits of each unit).
  // The pointer stays valid until the next GetCString on this string (which
  // the byte comparisons and number readings also call) or its destruction.
  char* GetCString();
  // Copies every unit and a 0 unit after them into `buffer`, which must hold
  // length + 1 units; a null buffer is left alone.
  void GetUnicodeString(std::int16_t* buffer) const;
  // Answers the decimal number at the start of the byte text from `index` on
  // (clamped to the 32-bit range); 0 when `index` is negative or past the length.
  int GetInteger(int index);
  // Answers the number (atof) at the start of the byte text from `index` on;
  // 0 when `index` is negative or past the length.
  float GetFloat(int index);

  // Answers whether the byte text equals `text` exactly; false for null.
  bool IsEqual(const char* text);
  // Answers whether both byte texts are equal; false for null.
  bool IsEqual(PKString* other);
  // Answers whether the byte text begins with `text`; false for null.
  bool StartsWith(const char* text);
  // Answers whether the first units equal all of `other`'s; false for null.
  bool StartsWith(PKString* other) const;
  // Answers whether the byte text ends with `text`; false for null.
  bool EndsWith(const char* text);
  // Answers whether `other`'s units occur in the string, storing the first
  // occurrence's start through `position` when given; false for null.
  bool Contains(PKString* other, int* position) const;
  // Answers whether the unit at `index` is one of the bytes of `set` (widened);
  // false when out of range or `set` is null or empty.
  bool IsCharacter(int index, const char* set) const;
  // Answers whether the index is in range and the unit there is `character`.
  bool IsCharacter(int index, std::int16_t character) const;
  // Answers whether the unit at `index` is "0" to "9"; false when out of range.
  bool IsDigit(int index) const;
  // Answers whether every unit is "0" to "9"; true for the empty string.
  bool IsAllDigits() const;
  // Answers whether the unit at `index` is tab, line feed, vertical tab, form
  // feed, carriage return or space; false when out of range.
  bool IsWhitespace(int index) const;

  // Removes the unit at `index`; false and no change when out of range.
  bool DeleteCharacterAt(int index);
  // Removes `count` units from `start`; false and no change when the range is
  // not wholly inside the string or `count` is 0 or less.
  bool DeleteCharactersAt(int start, int count);
  // Inserts the bytes of `text` before unit `position`; a position outside
  // 0..length or a null text changes nothing.
  void Insert(const char* text, int position);
  // Replaces occurrences of `pattern` by `replacement`, searching again from
  // the start after each; true when at least one was replaced. Refused (false,
  // unchanged) when the pattern is empty, the replacement contains it, or the
  // replacements would go on without end.
  bool Replace(const char* pattern, const char* replacement);
  // Removes spaces, carriage returns, line feeds and tabs at both ends.
  void TrimWhitespace();
  // Sets `result` to at most `count` units from `start`; false and `result`
  // untouched when `count` < 0, `start` is out of range or `result` is null.
  bool MakeSubString(int start, int count, PKString* result) const;

  // Answers a new list (the caller owns it) of the rows ended by line feeds.
  PKStrings* CreateStringRows() const;
  // Answers a new list (the caller owns it) of the non-empty fields between
  // the separator bytes; with no separators, the whole non-empty string.
  PKStrings* CreateParsedStrings(const char* separators) const;

 protected:
  // Makes room for a text of `needed` units: grows to the smallest multiple
  // of 10 above `needed` when it is not below the capacity.
  void _ExpandStorageIfNecessary(int needed);

 private:
  // Replaces `removeCount` units at `start` by `insertCount` units. The
  // inserted units may come from this string's own storage.
  void _Splice(int start, int removeCount, const std::int16_t* units, int insertCount);
  void _ReleaseStorage();
  bool _IsInRange(int index) const { return index >= 0 && index < _length; }

  static platform::ModuleHandle _ResInstance;

  std::int32_t _length = 0;
  std::int32_t _capacity = 0;
  std::unique_ptr<std::int16_t[]> _characters;
  std::unique_ptr<char[]> _byteText;
};

// An owning list of strings: destroying it destroys every string in it.
class PKStrings : public __PKCollection {
 public:
  // Answers "PKStrings".
  const char* ClassName() override { return "PKStrings"; }
  // Answers the string at `index`, or null when out of range (or not a string).
  virtual PKString* GetItemAt(int index) const;
};
