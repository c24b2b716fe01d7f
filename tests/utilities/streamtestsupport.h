// What the text stream tests share: strings as their 16-bit units, and a
// stream of either kind opened on a file written into a private folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/tempfolder.h"
#include "tonaroframework/foundation/pkstring.h"

namespace streamtest {

using Units = std::vector<std::int16_t>;

// Answers the characters of a string.
inline Units UnitsOf(const PKString& s) {
  Units units;
  for (int i = 0; i < s.GetLength(); ++i) units.push_back(s.GetItemAt(i));
  return units;
}

template <class Stream>
class StreamFixture : public ::testing::Test {
 protected:
  // Writes the file and opens the stream on it for reading.
  void Open(const std::string& content, const char* name = "file.txt") {
    folder.Write(name, content);
    stream.SetDefaultFolder(folder.Path().c_str());
    stream.GetFileName()->SetCString(name);
    ASSERT_TRUE(stream.OpenRead());
  }

  testsupport::TempFolder folder;
  Stream stream;
};

}  // namespace streamtest
