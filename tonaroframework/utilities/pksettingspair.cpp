#include "tonaroframework/utilities/pksettingspair.h"

#include <memory>

namespace {

constexpr std::int16_t kEqualsSign = '=';

}  // namespace

PKSettingsPair::PKSettingsPair(const char* key, const char* value) {
  _key.SetCString(key);
  _value.SetCString(value);
}

PKSettingsPair* PKSettingsPair::CreateFromLine(PKString* line) {
  if (line == nullptr) return nullptr;
  int equals = 0;
  while (equals < line->GetLength() && !line->IsCharacter(equals, kEqualsSign)) ++equals;
  // No equals sign, or one at the first character: not a pair.
  if (equals == 0 || equals == line->GetLength()) return nullptr;
  std::unique_ptr<PKSettingsPair> pair(new PKSettingsPair);
  line->MakeSubString(0, equals, &pair->_key);
  line->MakeSubString(equals + 1, line->GetLength(), &pair->_value);
  pair->_key.TrimWhitespace();
  pair->_value.TrimWhitespace();
  return pair.release();
}

PKSettingsPair* PKSettingsPairs::GetPairAt(int index) const {
  return dynamic_cast<PKSettingsPair*>(GetItemAt(index));
}

int PKSettingsPairs::AddFromLines(PKStrings* lines) {
  if (lines == nullptr) return 0;
  int added = 0;
  for (int i = 0; i < lines->GetCount(); ++i) {
    PKSettingsPair* pair = PKSettingsPair::CreateFromLine(lines->GetItemAt(i));
    if (pair == nullptr) continue;
    Add(pair);
    ++added;
  }
  return added;
}
