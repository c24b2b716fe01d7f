#include "tonaroframework/utilities/pkfilestream.h"

#include <cstring>

namespace {

#if defined(_WIN32)
constexpr const char* kPathSeparator = "\\";
#else
constexpr const char* kPathSeparator = "/";
#endif

}  // namespace

PKFileStream::PKFileStream() { std::memset(_defaultFolder, 0, sizeof _defaultFolder); }

PKFileStream::~PKFileStream() { Close(); }

void PKFileStream::SetDefaultFolder(const char* folder) {
  std::memset(_defaultFolder, 0, sizeof _defaultFolder);
  if (folder != nullptr) std::strncpy(_defaultFolder, folder, sizeof _defaultFolder - 1);
}

bool PKFileStream::_MakeFullPath(PKString* path) {
  if (path == nullptr) return false;
  if (_folder.GetLength() > 0)
    path->SetString(&_folder);
  else
    path->SetCString(_defaultFolder);
  path->Append(kPathSeparator);
  path->Append(&_fileName);
  return true;
}

bool PKFileStream::OpenFile(const char* mode) {
  // Opening again must not lose the file still open.
  Close();
  // Without a folder the path would name the root of the file system, and
  // without a file name the folder itself.
  if (mode == nullptr || _fileName.GetLength() == 0) return false;
  if (_folder.GetLength() == 0 && _defaultFolder[0] == 0) return false;
  PKString path;
  _MakeFullPath(&path);
  _file = std::fopen(path.GetCString(), mode);
  return _file != nullptr;
}

bool PKFileStream::Close() {
  if (_file == nullptr) return false;
  std::fclose(_file);
  _file = nullptr;
  return true;
}
