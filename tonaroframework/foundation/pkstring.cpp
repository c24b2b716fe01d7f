#include "tonaroframework/foundation/pkstring.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <vector>

namespace {

constexpr std::int16_t kLineFeed = 10;
constexpr int kPathRecordSize = 260;
constexpr int kResourceBufferSize = 500;
constexpr const char* kResourceError = "Resource String Error";
constexpr std::int32_t kMaxLength = std::numeric_limits<std::int32_t>::max() - 10;

// Byte text enters a string as signed 8-bit values: 0x80..0xFF become 0xFF80..0xFFFF.
std::int16_t WidenByte(char byte) { return std::int16_t(static_cast<signed char>(byte)); }

std::vector<std::int16_t> WidenBytes(const char* bytes, std::size_t count) {
  std::vector<std::int16_t> units(count);
  for (std::size_t i = 0; i < count; ++i) units[i] = WidenByte(bytes[i]);
  return units;
}

std::vector<std::int16_t> WidenText(const char* text) { return WidenBytes(text, std::strlen(text)); }

// How many replacements Replace may make before it counts as endless. A
// replacement shorter than the pattern always ends (the text shrinks). One of
// the same length can only shuffle units: allow a number quadratic in the
// length. A longer one grows the text each time: allow only as many as the
// original text has room for occurrences, so that a replacement which keeps
// re-forming the pattern with what follows it cannot run for ever.
std::int64_t ReplacementBudget(std::int32_t length, std::size_t patternLength,
                               std::size_t replacementLength) {
  if (replacementLength < patternLength) return std::numeric_limits<std::int64_t>::max();
  if (replacementLength == patternLength) return std::int64_t(length) * length + 1;
  return std::int64_t(length) / std::int64_t(patternLength);
}

}  // namespace

platform::ModuleHandle PKString::_ResInstance = nullptr;

PKString::PKString(const PKString& other) : __PKBase() {
  _Splice(0, 0, other._characters.get(), other._length);
}

PKString& PKString::operator=(const PKString& other) {
  if (this != &other) {
    _length = 0;
    _Splice(0, 0, other._characters.get(), other._length);
  }
  return *this;
}

void PKString::_ExpandStorageIfNecessary(int needed) {
  if (needed < _capacity) return;
  if (needed > kMaxLength) throw std::bad_alloc();
  const std::int32_t capacity = (needed + 10) / 10 * 10;
  std::unique_ptr<std::int16_t[]> grown(new std::int16_t[capacity]);
  if (_length > 0) std::memcpy(grown.get(), _characters.get(), std::size_t(_length) * sizeof(std::int16_t));
  _characters = std::move(grown);
  _capacity = capacity;
}

void PKString::_Splice(int start, int removeCount, const std::int16_t* units, int insertCount) {
  std::vector<std::int16_t> ownCopy;
  if (insertCount > 0 && _characters) {
    // The units may live in our own storage, which growing would release.
    const std::int16_t* begin = _characters.get();
    if (!std::less<const std::int16_t*>()(units, begin) &&
        std::less<const std::int16_t*>()(units, begin + _capacity)) {
      ownCopy.assign(units, units + insertCount);
      units = ownCopy.data();
    }
  }
  const std::int64_t newLength = std::int64_t(_length) - removeCount + insertCount;
  if (newLength > kMaxLength) throw std::bad_alloc();
  if (insertCount > 0) _ExpandStorageIfNecessary(int(newLength));
  const int tail = _length - start - removeCount;
  if (tail > 0 && removeCount != insertCount)
    std::memmove(_characters.get() + start + insertCount, _characters.get() + start + removeCount,
                 std::size_t(tail) * sizeof(std::int16_t));
  if (insertCount > 0)
    std::memcpy(_characters.get() + start, units, std::size_t(insertCount) * sizeof(std::int16_t));
  _length = std::int32_t(newLength);
}

void PKString::_ReleaseStorage() {
  _characters.reset();
  _capacity = 0;
  _length = 0;
}

void PKString::SetCString(const char* text) {
  if (text == nullptr || *text == 0) {
    _ReleaseStorage();
    return;
  }
  const std::vector<std::int16_t> units = WidenText(text);
  _length = 0;
  _Splice(0, 0, units.data(), int(units.size()));
}

void PKString::SetString(PKString* other) {
  if (other == nullptr || other == this) return;
  _length = 0;
  _Splice(0, 0, other->_characters.get(), other->_length);
}

void PKString::SetUnicodeString(const std::int16_t* text) {
  if (text == nullptr || *text == 0) {
    _ReleaseStorage();
    return;
  }
  int count = 0;
  while (text[count] != 0) ++count;
  _length = 0;
  _Splice(0, 0, text, count);
}

void PKString::SetInteger(int value) {
  _length = 0;
  AppendInteger(value);
}

void PKString::SetItemAt(int index, std::int16_t character) {
  if (_IsInRange(index)) _characters[index] = character;
}

void PKString::Append(const char* text) {
  if (text == nullptr) return;
  const std::vector<std::int16_t> units = WidenText(text);
  _Splice(_length, 0, units.data(), int(units.size()));
}

void PKString::Append(PKString* other) {
  if (other == nullptr) return;
  // For this string itself the count is taken before growing: the old text is appended once.
  _Splice(_length, 0, other->_characters.get(), other->_length);
}

void PKString::Append(std::int16_t character) { _Splice(_length, 0, &character, 1); }

void PKString::AppendUnits(const std::int16_t* units, int count) {
  if (units == nullptr || count <= 0) return;
  _Splice(_length, 0, units, count);
}

void PKString::AppendInteger(int value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", value);
  Append(digits);
}

bool PKString::MakeFullFilePath(const TonPathSpec2009* path) {
  if (path == nullptr) {
    SetCString("");
    return true;
  }
  // The full path is the record's first member; never read past the record.
  const char* bytes = reinterpret_cast<const char*>(path);
  const void* terminator = std::memchr(bytes, 0, kPathRecordSize);
  const std::size_t count =
      terminator ? std::size_t(static_cast<const char*>(terminator) - bytes) : kPathRecordSize;
  if (count == 0) {
    SetCString("");
    return true;
  }
  const std::vector<std::int16_t> units = WidenBytes(bytes, count);
  _length = 0;
  _Splice(0, 0, units.data(), int(units.size()));
  return true;
}

bool PKString::LoadResource(int id, const char* moduleName) {
  // The module is looked up only when named; later calls without a name use
  // the one remembered (none at first, which the platform takes as the main module).
  if (moduleName != nullptr) _ResInstance = platform::GetModuleHandleA(moduleName);
  char buffer[kResourceBufferSize];
  buffer[0] = 0;
  const std::int32_t copied =
      platform::LoadStringA(_ResInstance, std::uint32_t(id), buffer, kResourceBufferSize);
  buffer[kResourceBufferSize - 1] = 0;
  const bool found = copied > 0;
  SetCString(found ? buffer : kResourceError);
  return found;
}

std::int16_t PKString::GetItemAt(int index) const { return _IsInRange(index) ? _characters[index] : 0; }

char* PKString::GetCString() {
  _byteText.reset();
  _byteText.reset(new char[std::size_t(_length) + 1]);
  for (std::int32_t i = 0; i < _length; ++i) _byteText[i] = char(_characters[i] & 0xFF);
  _byteText[_length] = 0;
  return _byteText.get();
}

void PKString::GetUnicodeString(std::int16_t* buffer) const {
  if (buffer == nullptr) return;
  if (_length > 0) std::memcpy(buffer, _characters.get(), std::size_t(_length) * sizeof(std::int16_t));
  buffer[_length] = 0;
}

int PKString::GetInteger(int index) {
  if (index < 0 || index > _length) return 0;
  // atoi's reading, with values beyond the 32-bit range clamped instead of undefined.
  const long long value = std::strtoll(GetCString() + index, nullptr, 10);
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return int(value);
}

float PKString::GetFloat(int index) {
  if (index < 0 || index > _length) return 0.0f;
  const double value = std::atof(GetCString() + index);
  // Beyond the single-precision range the rounding gives infinity.
  if (value > double(FLT_MAX)) return HUGE_VALF;
  if (value < -double(FLT_MAX)) return -HUGE_VALF;
  return float(value);
}

bool PKString::IsEqual(const char* text) {
  if (text == nullptr) return false;
  return std::strcmp(GetCString(), text) == 0;
}

bool PKString::IsEqual(PKString* other) {
  if (other == nullptr) return false;
  // Two byte texts of one string cannot be held at once: a string equals itself.
  if (other == this) return true;
  return std::strcmp(GetCString(), other->GetCString()) == 0;
}

bool PKString::StartsWith(const char* text) {
  if (text == nullptr) return false;
  const std::size_t count = std::strlen(text);
  if (std::size_t(_length) < count) return false;
  return std::strncmp(GetCString(), text, count) == 0;
}

bool PKString::StartsWith(PKString* other) const {
  if (other == nullptr || other->_length > _length) return false;
  for (std::int32_t i = 0; i < other->_length; ++i)
    if (_characters[i] != other->_characters[i]) return false;
  return true;
}

bool PKString::EndsWith(const char* text) {
  if (text == nullptr) return false;
  const std::size_t count = std::strlen(text);
  if (std::size_t(_length) < count) return false;
  return std::strncmp(GetCString() + (std::size_t(_length) - count), text, count) == 0;
}

bool PKString::Contains(PKString* other, int* position) const {
  if (other == nullptr) return false;
  const std::int32_t patternLength = other->_length;
  for (std::int32_t start = 0; start + patternLength <= _length; ++start) {
    std::int32_t matched = 0;
    while (matched < patternLength && _characters[start + matched] == other->_characters[matched]) ++matched;
    if (matched == patternLength) {
      if (position != nullptr) *position = start;
      return true;
    }
  }
  return false;
}

bool PKString::IsCharacter(int index, const char* set) const {
  if (!_IsInRange(index) || set == nullptr) return false;
  for (const char* byte = set; *byte != 0; ++byte)
    if (_characters[index] == WidenByte(*byte)) return true;
  return false;
}

bool PKString::IsCharacter(int index, std::int16_t character) const {
  return _IsInRange(index) && _characters[index] == character;
}

bool PKString::IsDigit(int index) const {
  return _IsInRange(index) && _characters[index] >= '0' && _characters[index] <= '9';
}

bool PKString::IsAllDigits() const {
  for (std::int32_t i = 0; i < _length; ++i)
    if (!IsDigit(i)) return false;
  return true;
}

bool PKString::IsWhitespace(int index) const {
  if (!_IsInRange(index)) return false;
  const std::int16_t unit = _characters[index];
  return unit == ' ' || (unit >= 9 && unit <= 13);
}

bool PKString::DeleteCharacterAt(int index) {
  if (!_IsInRange(index)) return false;
  _Splice(index, 1, nullptr, 0);
  return true;
}

bool PKString::DeleteCharactersAt(int start, int count) {
  if (!_IsInRange(start) || count <= 0 || count > _length - start) return false;
  _Splice(start, count, nullptr, 0);
  return true;
}

void PKString::Insert(const char* text, int position) {
  if (text == nullptr || position < 0 || position > _length) return;
  const std::vector<std::int16_t> units = WidenText(text);
  _Splice(position, 0, units.data(), int(units.size()));
}

bool PKString::Replace(const char* pattern, const char* replacement) {
  if (pattern == nullptr || replacement == nullptr || *pattern == 0) return false;
  // A replacement holding the pattern would be found again at once.
  if (std::strstr(replacement, pattern) != nullptr) return false;
  PKString patternText;
  patternText.SetCString(pattern);
  const std::vector<std::int16_t> replacementUnits = WidenText(replacement);
  std::int64_t budget = ReplacementBudget(_length, std::size_t(patternText._length), replacementUnits.size());

  // The work happens on a copy, so that a refused call leaves the string as it was.
  PKString work(*this);
  bool replaced = false;
  int position = 0;
  while (work.Contains(&patternText, &position)) {
    if (budget-- == 0) return false;
    work._Splice(position, patternText._length, replacementUnits.data(), int(replacementUnits.size()));
    replaced = true;
  }
  if (!replaced) return false;
  _Splice(0, _length, work._characters.get(), work._length);
  return true;
}

void PKString::TrimWhitespace() {
  static const char kTrimmed[] = " \r\n\t";
  while (_length > 0 && IsCharacter(_length - 1, kTrimmed)) --_length;
  int leading = 0;
  while (leading < _length && IsCharacter(leading, kTrimmed)) ++leading;
  if (leading > 0) _Splice(0, leading, nullptr, 0);
}

bool PKString::MakeSubString(int start, int count, PKString* result) const {
  if (result == nullptr || count < 0 || !_IsInRange(start)) return false;
  const int available = _length - start;
  const int taken = count < available ? count : available;
  result->_length = 0;
  result->_Splice(0, 0, _characters.get() + start, taken);
  return true;
}

PKStrings* PKString::CreateStringRows() const {
  std::unique_ptr<PKStrings> rows(new PKStrings);
  int rowStart = 0;
  for (int i = 0; i < _length; ++i) {
    if (_characters[i] != kLineFeed) continue;
    std::unique_ptr<PKString> row(new PKString);
    row->AppendUnits(_characters.get() + rowStart, i - rowStart);
    rows->Add(row.release());
    rowStart = i + 1;
  }
  if (rowStart < _length) {
    std::unique_ptr<PKString> row(new PKString);
    row->AppendUnits(_characters.get() + rowStart, _length - rowStart);
    rows->Add(row.release());
  }
  return rows.release();
}

PKStrings* PKString::CreateParsedStrings(const char* separators) const {
  std::unique_ptr<PKStrings> fields(new PKStrings);
  const bool noSeparators = separators == nullptr || *separators == 0;
  int fieldStart = 0;
  for (int i = 0; i <= _length; ++i) {
    const bool atEnd = i == _length;
    if (!atEnd && (noSeparators || !IsCharacter(i, separators))) continue;
    if (i > fieldStart) {
      std::unique_ptr<PKString> field(new PKString);
      field->AppendUnits(_characters.get() + fieldStart, i - fieldStart);
      fields->Add(field.release());
    }
    fieldStart = i + 1;
  }
  return fields.release();
}

PKString* PKStrings::GetItemAt(int index) const {
  return dynamic_cast<PKString*>(__PKCollection::GetItemAt(index));
}
