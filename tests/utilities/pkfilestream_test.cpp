#include "tonaroframework/utilities/pkfilestream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "tests/support/tempfolder.h"
#include "tonaroframework/utilities/pktextfilestream.h"

namespace {

std::string FullPath(PKFileStream& stream) {
  PKString path;
  EXPECT_TRUE(stream._MakeFullPath(&path));
  return path.GetCString();
}

int OpenDescriptors() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

TEST(PKFileStream, StreamsAnswerTheRootName) {
  PKTextFileStream stream;
  EXPECT_STREQ(stream.ClassName(), "__PKBase");
}

TEST(PKFileStream, StartsClosedWithEmptyFolders) {
  PKTextFileStream stream;
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_STREQ(stream.GetDefaultFolder(), "");
  EXPECT_EQ(stream.GetFolder()->GetLength(), 0);
  EXPECT_EQ(stream.GetFileName()->GetLength(), 0);
  EXPECT_FALSE(stream.Close());
}

TEST(PKFileStream, BuildsThePathFromTheFolderThatIsSet) {
  struct Case {
    const char* defaultFolder;
    const char* folder;
    const char* fileName;
    const char* path;
  };
  const Case cases[] = {
      {"/settings", "", "options.txt", "/settings/options.txt"},
      {"/settings", "/chosen", "options.txt", "/chosen/options.txt"},
      {"", "/chosen", "options.txt", "/chosen/options.txt"},
      // No check for a separator already at the end.
      {"/settings/", "", "f", "/settings//f"},
      {"", "", "f", "/f"},
  };
  for (const Case& c : cases) {
    PKTextFileStream stream;
    stream.SetDefaultFolder(c.defaultFolder);
    stream.GetFolder()->SetCString(c.folder);
    stream.GetFileName()->SetCString(c.fileName);
    EXPECT_EQ(FullPath(stream), c.path);
  }
  PKTextFileStream stream;
  EXPECT_FALSE(stream._MakeFullPath(nullptr));
}

TEST(PKFileStream, KeepsAtMost259BytesOfTheDefaultFolder) {
  PKTextFileStream stream;
  const std::string longFolder(400, 'd');
  stream.SetDefaultFolder(longFolder.c_str());
  EXPECT_EQ(std::string(stream.GetDefaultFolder()), std::string(259, 'd'));
  stream.SetDefaultFolder(nullptr);
  EXPECT_STREQ(stream.GetDefaultFolder(), "");
}

TEST(PKFileStream, OpensExistingFilesAndRefusesMissingOnes) {
  testsupport::TempFolder folder;
  folder.Write("present.txt", "x\n");
  PKTextFileStream stream;
  stream.SetDefaultFolder(folder.Path().c_str());
  stream.GetFileName()->SetCString("missing.txt");
  EXPECT_FALSE(stream.OpenRead());
  EXPECT_FALSE(stream.IsOpen());
  stream.GetFileName()->SetCString("present.txt");
  EXPECT_TRUE(stream.OpenRead());
  EXPECT_TRUE(stream.IsOpen());
  EXPECT_TRUE(stream.Close());
  EXPECT_FALSE(stream.IsOpen());
  EXPECT_FALSE(stream.Close());
}

TEST(PKFileStream, RefusesToOpenWithoutFolderOrFileName) {
  testsupport::TempFolder folder;
  PKTextFileStream noName;
  noName.SetDefaultFolder(folder.Path().c_str());
  EXPECT_FALSE(noName.OpenRead()) << "the folder itself is no file";
  EXPECT_FALSE(noName.OpenWrite());
  PKTextFileStream noFolder;
  noFolder.GetFileName()->SetCString("options.txt");
  EXPECT_FALSE(noFolder.OpenRead());
  EXPECT_FALSE(noFolder.IsOpen());
  PKTextFileStream badMode;
  badMode.SetDefaultFolder(folder.Path().c_str());
  badMode.GetFileName()->SetCString("f.txt");
  EXPECT_FALSE(badMode.OpenFile(nullptr));
}

TEST(PKFileStream, OpeningAgainClosesTheFileStillOpen) {
  testsupport::TempFolder folder;
  folder.Write("f.txt", "x\n");
  PKTextFileStream stream;
  stream.SetDefaultFolder(folder.Path().c_str());
  stream.GetFileName()->SetCString("f.txt");
  const int before = OpenDescriptors();
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(stream.OpenRead());
  EXPECT_EQ(OpenDescriptors(), before + 1);
  EXPECT_TRUE(stream.Close());
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST(PKFileStream, DestructionClosesTheFile) {
  testsupport::TempFolder folder;
  const int before = OpenDescriptors();
  {
    PKTextFileStream stream;
    stream.GetFolder()->SetCString(folder.Path().c_str());
    stream.GetFileName()->SetCString("written.txt");
    ASSERT_TRUE(stream.OpenWrite());
    PKString text;
    text.SetCString("unflushed");
    EXPECT_TRUE(stream.WriteText(&text));
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_EQ(folder.Read("written.txt"), "unflushed");
}

}  // namespace
