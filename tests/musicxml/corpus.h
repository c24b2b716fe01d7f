// The corpus the MusicXML tests run over, and schema validation with xmllint.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// Answers the corpus folder; a test that needs it fails (not skips) when it is absent.
std::string CorpusDir();

// Answers the paths of every file in corpus/real and corpus/edge, sorted; empty when the corpus is missing.
std::vector<std::string> CorpusFiles();

// Answers the file's name without its folders.
std::string BaseName(const std::string& path);

// Validates files against the MusicXML 4.0 schema offline; answers, per file,
// whether it validates. `errors` receives xmllint's messages.
std::vector<bool> ValidateWithSchema(const std::vector<std::string>& files, std::string* errors);


// Answers the names of the files and folders in a folder (not "." ones), in no order.
std::vector<std::string> FolderEntries(const std::string& folder);

// Answers the whole content of a file, or "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace testsupport
