// A text file of UTF-8 lines, read as 16-bit units.
#pragma once

#include "tonaroframework/utilities/pktextfilestream.h"

class PKTextFileUTF8Stream : public PKTextFileStream {
 public:
  // Bytes of text one read takes at most (a longer line arrives in pieces).
  static constexpr int kPieceBytes = 1023;

  // Answers the next piece of a line, at most kPieceBytes bytes (a few more
  // when a character would be cut), converted from UTF-8 as a new string (the
  // caller owns it); the line feed, when read, stays at its end. Invalid UTF-8
  // gives an empty string. Null at the end of the file or when no file is open.
  PKString* ReadString() override;
};
