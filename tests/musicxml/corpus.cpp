#include "tests/musicxml/corpus.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {
namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> files;
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return files;
  while (dirent* entry = readdir(directory)) {
    const std::string name = entry->d_name;
    if (name.size() > 4 && (name.rfind(".xml") == name.size() - 4 || name.rfind(".musicxml") == name.size() - 9 ||
                            name.rfind(".mxl") == name.size() - 4))
      files.push_back(folder + "/" + name);
  }
  closedir(directory);
  std::sort(files.begin(), files.end());
  return files;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

std::string CorpusDir() { return ZK_CORPUS_DIR; }

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files = FilesIn(CorpusDir() + "/real");
  const std::vector<std::string> edge = FilesIn(CorpusDir() + "/edge");
  files.insert(files.end(), edge.begin(), edge.end());
  return files;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

std::vector<bool> ValidateWithSchema(const std::vector<std::string>& files, std::string* errors) {
  std::vector<bool> valid(files.size(), false);
  if (files.empty()) return valid;
  const std::string schema = CorpusDir() + "/musicxml-schema";
  std::string command = "XML_CATALOG_FILES=" + Quoted(schema + "/catalog.xml") + " " + ZK_XMLLINT +
                        " --nonet --noout --schema " + Quoted(schema + "/musicxml.xsd");
  for (const std::string& file : files) command += " " + Quoted(file);
  command += " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return valid;
  std::string output;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  pclose(pipe);
  *errors = output;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line))
    for (std::size_t i = 0; i < files.size(); ++i)
      if (line == files[i] + " validates") valid[i] = true;
  return valid;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* directory = opendir(folder.c_str())) {
    while (dirent* entry = readdir(directory))
      if (entry->d_name[0] != '.') names.push_back(entry->d_name);
    closedir(directory);
  }
  return names;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace testsupport
