// A text file read and written line by line, each byte one character.
#pragma once

#include "tonaroframework/foundation/pkstring.h"
#include "tonaroframework/utilities/pkfilestream.h"

class PKSettingsPairs;

class PKTextFileStream : public PKFileStream {
 public:
  // Opens the file for reading ("r"); false when it cannot be opened.
  bool OpenRead() override;
  // Creates or truncates the file for writing ("w+"); false when it cannot be opened.
  bool OpenWrite() override;
  // Answers the next line as a new string (the caller owns it), one character
  // per byte (codes 0 to 255), without its line feed or carriage return; null
  // at the end of the file or when no file is open.
  virtual PKString* ReadString();

  // Answers a new list (the caller owns it) of every remaining line read with
  // ReadString; null when no file is open.
  PKStrings* ReadStrings();
  // Writes each string's byte text and a line feed; false when no file is open or `strings` is null.
  bool WriteStrings(PKStrings* strings);
  // Writes the text's byte text without a line end; false when no file is open or `text` is null.
  bool WriteText(PKString* text);
  // Writes each pair as key=value and a line feed; false when no file is open or `pairs` is null.
  bool WriteSettingsPairs(PKSettingsPairs* pairs);
};
