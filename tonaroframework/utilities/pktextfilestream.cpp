#include "tonaroframework/utilities/pktextfilestream.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "tonaroframework/utilities/pksettingspair.h"

bool PKTextFileStream::OpenRead() { return OpenFile("r"); }

bool PKTextFileStream::OpenWrite() { return OpenFile("w+"); }

PKString* PKTextFileStream::ReadString() {
  std::FILE* file = _GetFile();
  if (file == nullptr) return nullptr;
  int byte = std::fgetc(file);
  if (byte == EOF) return nullptr;
  // The line is gathered first and appended once: appending byte by byte
  // would grow the string ten units at a time.
  std::vector<std::int16_t> units;
  while (byte != EOF && byte != '\n' && byte != '\r') {
    units.push_back(std::int16_t(byte));
    byte = std::fgetc(file);
  }
  std::unique_ptr<PKString> line(new PKString);
  line->AppendUnits(units.data(), int(units.size()));
  return line.release();
}

PKStrings* PKTextFileStream::ReadStrings() {
  if (!IsOpen()) return nullptr;
  std::unique_ptr<PKStrings> lines(new PKStrings);
  while (PKString* line = ReadString()) lines->Add(line);
  return lines.release();
}

bool PKTextFileStream::WriteStrings(PKStrings* strings) {
  std::FILE* file = _GetFile();
  if (file == nullptr || strings == nullptr) return false;
  for (int i = 0; i < strings->GetCount(); ++i) {
    PKString* line = strings->GetItemAt(i);
    if (line != nullptr) std::fprintf(file, "%s\n", line->GetCString());
  }
  return true;
}

bool PKTextFileStream::WriteText(PKString* text) {
  std::FILE* file = _GetFile();
  if (file == nullptr || text == nullptr) return false;
  std::fprintf(file, "%s", text->GetCString());
  return true;
}

bool PKTextFileStream::WriteSettingsPairs(PKSettingsPairs* pairs) {
  std::FILE* file = _GetFile();
  if (file == nullptr || pairs == nullptr) return false;
  for (int i = 0; i < pairs->GetCount(); ++i) {
    PKSettingsPair* pair = pairs->GetPairAt(i);
    if (pair != nullptr) std::fprintf(file, "%s=%s\n", pair->GetKey()->GetCString(), pair->GetValue()->GetCString());
  }
  return true;
}
