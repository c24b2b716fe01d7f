// A stream over one file, named by a folder and a file name inside it.
#pragma once

#include <cstdio>

#include "tonaroframework/foundation/pkstring.h"
#include "tonaroframework/utilities/pkbasestream.h"

class PKFileStream : public __PKBaseStream {
 public:
  // Size of the default-folder buffer, terminator included.
  static constexpr int kFolderBufferSize = 260;

  PKFileStream();
  PKFileStream(const PKFileStream&) = delete;
  PKFileStream& operator=(const PKFileStream&) = delete;

  // Closes the file when it is open.
  ~PKFileStream() override;
  // Opens the file for reading; false when it cannot be opened.
  virtual bool OpenRead() = 0;
  // Opens the file for writing; false when it cannot be opened.
  virtual bool OpenWrite() = 0;

  // Sets the folder used when the folder field is empty (at most 259 bytes
  // are kept; null empties it).
  void SetDefaultFolder(const char* folder);
  // Answers the default folder as NUL-terminated bytes (empty at construction).
  const char* GetDefaultFolder() const { return _defaultFolder; }
  // Answers the folder field, which takes precedence over the default folder when not empty.
  PKString* GetFolder() { return &_folder; }
  // Answers the field with the name of the file inside the folder.
  PKString* GetFileName() { return &_fileName; }
  // Answers whether a file is open.
  bool IsOpen() const { return _file != nullptr; }

  // Sets `path` to the folder (or the default folder), the platform's path
  // separator and the file name; false only for a null path.
  bool _MakeFullPath(PKString* path);
  // Opens the file of the full path with fopen's `mode`, closing a file still
  // open first; false when no folder or no file name is set or fopen fails.
  bool OpenFile(const char* mode);
  // Closes the file; false when none is open.
  bool Close();

 protected:
  // Answers the open file, or null.
  std::FILE* _GetFile() const { return _file; }

 private:
  char _defaultFolder[kFolderBufferSize];
  PKString _folder;
  PKString _fileName;
  std::FILE* _file = nullptr;
};
