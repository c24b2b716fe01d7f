// A private folder under the system's temporary directory, removed with
// everything in it when the object goes. For tests that read and write files.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace testsupport {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zktest-XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) _path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!_path.empty()) std::filesystem::remove_all(_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a separator at the end; empty if it could not be made.
  const std::string& Path() const { return _path; }
  // The full path of a file in the folder.
  std::string File(const std::string& name) const { return _path + "/" + name; }
  // Writes the bytes as the whole content of a file in the folder.
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
  }
  // Answers the whole content of a file in the folder (empty when missing).
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string _path;
};

}  // namespace testsupport
