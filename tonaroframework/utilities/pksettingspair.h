// The key=value entries of the plug-in settings files.
//
// A line holding an equals sign anywhere but at its first character is a
// pair: the key is everything before the first equals sign, the value
// everything after it, both trimmed of spaces, carriage returns, line feeds
// and tabs. Other lines are not pairs. There is no comment, section or escape
// syntax.
#pragma once

#include "tonaroframework/foundation/pkcollection.h"
#include "tonaroframework/foundation/pkstring.h"

class PKSettingsPair : public __PKBase {
 public:
  PKSettingsPair() = default;
  // Makes the pair (key, value) from byte texts; null texts give empty strings.
  PKSettingsPair(const char* key, const char* value);

  // Answers the key.
  PKString* GetKey() { return &_key; }
  // Answers the value.
  PKString* GetValue() { return &_value; }

  // Answers a new pair (the caller owns it) for a settings line, key and value
  // trimmed; null when the line is not a pair or is null.
  static PKSettingsPair* CreateFromLine(PKString* line);

 private:
  PKString _key;
  PKString _value;
};

// An owning list of settings pairs, in file order.
class PKSettingsPairs : public __PKCollection {
 public:
  // Answers "PKSettingsPairs".
  const char* ClassName() override { return "PKSettingsPairs"; }

  // Answers the pair at `index`, or null when out of range (or not a pair).
  PKSettingsPair* GetPairAt(int index) const;
  // Appends a pair for every line of `lines` that is one, in order; answers
  // how many were appended (0 for null).
  int AddFromLines(PKStrings* lines);
};
