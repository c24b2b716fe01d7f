#include "musicxml/mxarchive.h"

#include <zip.h>

#include <cstring>
#include <memory>

#include <pugixml.hpp>

namespace musicxml {
namespace {

constexpr const char* kContainerPath = "META-INF/container.xml";
constexpr const char* kMimeType = "application/vnd.recordare.musicxml";
// A score member larger than this is refused rather than inflated into memory.
constexpr zip_uint64_t kMaxMemberSize = zip_uint64_t(512) << 20;

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ArchiveHandle = std::unique_ptr<zip_t, ArchiveCloser>;

MxResult ReadMember(zip_t* archive, const char* member, const std::string& archiveName, std::string* out) {
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat(archive, member, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0)
    return MxResult::Fail(MxStatus::kBadArchive, std::string("the archive has no member \"") + member + "\"",
                          archiveName);
  if (stat.size > kMaxMemberSize)
    return MxResult::Fail(MxStatus::kBadArchive, std::string("the member \"") + member + "\" is too large",
                          archiveName);
  zip_file_t* file = zip_fopen(archive, member, 0);
  if (file == nullptr)
    return MxResult::Fail(MxStatus::kBadArchive, std::string("cannot open the member \"") + member + "\"",
                          archiveName);
  out->assign(std::size_t(stat.size), '\0');
  const zip_int64_t got = stat.size == 0 ? 0 : zip_fread(file, &(*out)[0], stat.size);
  zip_fclose(file);
  if (got < 0 || zip_uint64_t(got) != stat.size)
    return MxResult::Fail(MxStatus::kBadArchive, std::string("cannot read the member \"") + member + "\"",
                          archiveName);
  return MxResult();
}

// Answers the full-path of the first MusicXML rootfile the container names.
MxResult RootFilePath(const std::string& container, const std::string& archiveName, std::string* path) {
  pugi::xml_document document;
  if (!document.load_buffer(container.data(), container.size()))
    return MxResult::Fail(MxStatus::kBadArchive, "META-INF/container.xml is not well-formed XML", archiveName);
  for (pugi::xml_node rootfile : document.child("container").child("rootfiles").children("rootfile")) {
    const char* type = rootfile.attribute("media-type").value();
    if (*type != 0 && std::strcmp(type, "application/vnd.recordare.musicxml+xml") != 0) continue;
    *path = rootfile.attribute("full-path").value();
    if (!path->empty()) return MxResult();
  }
  return MxResult::Fail(MxStatus::kBadArchive, "META-INF/container.xml names no MusicXML rootfile", archiveName);
}

bool AddMember(zip_t* archive, const char* name, const std::string& bytes, bool store) {
  zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
  if (source == nullptr) return false;
  const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
  if (index < 0) {
    zip_source_free(source);
    return false;
  }
  return zip_set_file_compression(archive, zip_uint64_t(index), store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) == 0;
}

}  // namespace

bool MxArchive::LooksLikeZip(const std::string& bytes) {
  return bytes.size() >= 4 && bytes.compare(0, 2, "PK") == 0;
}

MxResult MxArchive::ExtractScore(const std::string& bytes, const std::string& archiveName, std::string* document) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (source == nullptr) {
    zip_error_fini(&error);
    return MxResult::Fail(MxStatus::kNotZip, "not a zip archive", archiveName);
  }
  ArchiveHandle archive(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
  if (!archive) {
    zip_source_free(source);
    const std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    return MxResult::Fail(MxStatus::kNotZip, "not a readable zip archive (" + reason + ")", archiveName);
  }
  zip_error_fini(&error);
  std::string container;
  MxResult result = ReadMember(archive.get(), kContainerPath, archiveName, &container);
  if (!result) return result;
  std::string path;
  result = RootFilePath(container, archiveName, &path);
  if (!result) return result;
  return ReadMember(archive.get(), path.c_str(), archiveName, document);
}

MxResult MxArchive::Build(const std::string& document, const std::string& memberName, std::string* out) {
  const std::string mimeType = kMimeType;
  const std::string container =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<container>\n  <rootfiles>\n    <rootfile full-path=\"" + memberName +
      "\" media-type=\"application/vnd.recordare.musicxml+xml\"/>\n  </rootfiles>\n</container>\n";
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_error_fini(&error);
  if (target == nullptr) return MxResult::Fail(MxStatus::kWriteError, "cannot make a zip archive in memory");
  zip_source_keep(target);
  zip_error_init(&error);
  zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  zip_error_fini(&error);
  if (archive == nullptr) {
    zip_source_free(target);
    return MxResult::Fail(MxStatus::kWriteError, "cannot make a zip archive in memory");
  }
  const bool added = AddMember(archive, "mimetype", mimeType, true) &&
                     AddMember(archive, kContainerPath, container, false) &&
                     AddMember(archive, memberName.c_str(), document, false);
  if (!added || zip_close(archive) != 0) {
    zip_discard(archive);
    zip_source_free(target);
    return MxResult::Fail(MxStatus::kWriteError, "the zip library refused to build the archive");
  }
  bool copied = false;
  if (zip_source_open(target) == 0) {
    if (zip_source_seek(target, 0, SEEK_END) == 0) {
      const zip_int64_t size = zip_source_tell(target);
      if (size >= 0 && zip_source_seek(target, 0, SEEK_SET) == 0) {
        out->assign(std::size_t(size), '\0');
        copied = size == 0 || zip_source_read(target, &(*out)[0], zip_uint64_t(size)) == size;
      }
    }
    zip_source_close(target);
  }
  zip_source_free(target);
  if (!copied) return MxResult::Fail(MxStatus::kWriteError, "cannot read back the zip archive built in memory");
  return MxResult();
}

}  // namespace musicxml
