// explode-layers from the command line: usage errors, bad input, plug-ins
// that cannot run the command, the demo, and atomic output.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "musicxml/mxreader.h"
#include "tests/musicxml/corpus.h"
#include "tests/musicxml/scoretext.h"
#include "tests/support/tempfolder.h"

namespace {

struct ToolRun {
  int status = -1;
  std::string output;
  std::string errors;
};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ToolRun RunTool(const std::vector<std::string>& arguments) {
  static const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  std::string command = ZK_TOOL;
  for (const std::string& argument : arguments) command += " " + Quoted(argument);
  command += " > " + folder + "/stdout 2> " + folder + "/stderr";
  ToolRun run;
  const int status = std::system(command.c_str());
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.output = testsupport::ReadWholeFile(folder + "/stdout");
  run.errors = testsupport::ReadWholeFile(folder + "/stderr");
  return run;
}

TEST(ExplodeLayersTool, UsageErrorsExitWithTwo) {
  const std::string input = testsupport::CorpusDir() + "/edge/21b-Chords-TwoNotes.xml";
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const std::string copy = folder + "/score.musicxml";
  std::ofstream(copy) << testsupport::ReadWholeFile(input);
  struct Case {
    std::vector<std::string> arguments;
    const char* message;
  };
  const Case cases[] = {
      {{}, "input file"},
      {{input}, "-o OUTPUT"},
      {{"--frobnicate", input, "-o", folder + "/out.musicxml"}, "unknown option --frobnicate"},
      {{input, "-o", folder + "/out.musicxml", "--measures", "3-1"}, "--measures"},
      {{input, "-o", folder + "/out.musicxml", "--measures", "1-9"}, "the score has 2 measures"},
      {{input, "-o", folder + "/out.musicxml", "--staves", "2"}, "the score has 1 staves"},
      {{input, "-o", folder + "/out.musicxml", "--start-offset", "x"}, "--start-offset"},
      {{input, "-o", folder + "/out.musicxml", "--settings-dir", folder, "--center-rests"}, "--settings-dir"},
      {{"--demo", input}, "--demo takes no input"},
      {{copy, "-o", copy}, "never overwritten"},
  };
  for (const Case& usage : cases) {
    SCOPED_TRACE(usage.message);
    const ToolRun run = RunTool(usage.arguments);
    EXPECT_EQ(2, run.status) << run.errors;
    EXPECT_NE(std::string::npos, run.errors.find(usage.message)) << run.errors;
    EXPECT_NE(std::string::npos, run.errors.find("usage: explode-layers")) << run.errors;
  }
  EXPECT_EQ(testsupport::ReadWholeFile(input), testsupport::ReadWholeFile(copy));
  EXPECT_EQ(std::vector<std::string>{"score.musicxml"}, testsupport::FolderEntries(folder));
}

TEST(ExplodeLayersTool, BadInputExitsWithOneNamingFileAndLineAndWritesNothing) {
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const std::string good = testsupport::ScoreWith(testsupport::Note("C4", 16, "whole"));
  struct Case {
    const char* name;
    std::string content;
    const char* message;
  };
  const Case cases[] = {
      {"truncated.musicxml", good.substr(0, good.size() * 2 / 3), "truncated"},
      {"letter.musicxml", "Dear friend,\nthis is no score.\n", "not well-formed XML"},
      {"page.xml", "<?xml version=\"1.0\"?>\n<html/>\n", "page.xml:2: the root element is <html>"},
      {"plain.mxl", good, "zip"},
      {"zero.musicxml", testsupport::ScoreWith("<note><pitch><step>C</step><octave>4</octave></pitch>\n"
                                               "<duration>0</duration><type>whole</type></note>"),
       "zero.musicxml:8: a duration of 0"},
      {"negative.musicxml", testsupport::ScoreWith("<note><pitch><step>C</step><octave>4</octave></pitch>\n"
                                                   "<duration>-2</duration><type>whole</type></note>"),
       "negative.musicxml:8: a negative duration"},
  };
  for (const Case& bad : cases) {
    SCOPED_TRACE(bad.name);
    const std::string input = folder + "/" + bad.name;
    std::ofstream(input) << bad.content;
    const std::string message = bad.message;
    const ToolRun run = RunTool({input, "-o", folder + "/out.musicxml"});
    EXPECT_EQ(1, run.status) << run.errors;
    EXPECT_NE(std::string::npos, run.errors.find(message)) << run.errors;
    EXPECT_NE(std::string::npos, run.errors.find(input)) << run.errors;
  }
  const ToolRun missing = RunTool({folder + "/absent.musicxml", "-o", folder + "/out.musicxml"});
  EXPECT_EQ(1, missing.status);
  EXPECT_NE(std::string::npos, missing.errors.find(folder + "/absent.musicxml")) << missing.errors;
  const std::vector<std::string> left = testsupport::FolderEntries(folder);
  EXPECT_EQ(6u, left.size());
  for (const std::string& name : left) EXPECT_EQ(std::string::npos, name.find("out.musicxml")) << name;
}

TEST(ExplodeLayersTool, AMissingOutputFolderExitsWithOneAndWritesNothing) {
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const std::string output = folder + "/no/such/folder/out.musicxml";
  const ToolRun run = RunTool({"--demo", "-o", output});
  EXPECT_EQ(1, run.status) << run.errors;
  EXPECT_NE(std::string::npos, run.errors.find(output)) << run.errors;
  EXPECT_TRUE(testsupport::FolderEntries(folder).empty());
}

TEST(ExplodeLayersTool, ReportsAPlugInThatCannotRunTheCommand) {
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const ToolRun run = RunTool({"--demo", "--plugin", ZK_HANDSHAKE_ONLY, "-o", folder + "/out.musicxml"});
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.errors.find("lacks the export TonaroExtensionInvoke")) << run.errors;
  EXPECT_TRUE(testsupport::FolderEntries(folder).empty());
  const ToolRun absent = RunTool({"--demo", "--plugin", folder + "/nothing.so"});
  EXPECT_EQ(1, absent.status);
  EXPECT_NE(std::string::npos, absent.errors.find("cannot load the plug-in " + folder + "/nothing.so"))
      << absent.errors;
}

TEST(ExplodeLayersTool, DemoPrintsEveryCaseOfTheCommand) {
  const testsupport::TempFolder temporary;
  const std::string& folder = temporary.Path();
  const std::string output = folder + "/demo.musicxml";
  const ToolRun run = RunTool({"--demo", "--print", "-o", output});
  ASSERT_EQ(0, run.status) << run.errors;
  const std::size_t after = run.output.find("After:");
  ASSERT_NE(std::string::npos, after) << run.output;
  const std::string exploded = run.output.substr(after);
  // Upper choir staff, measure 1: the four-note chord over four layers, highest in layer 1.
  EXPECT_NE(std::string::npos, exploded.find("layer 1: D5/4 C5/4 B4/4 A4/4")) << exploded;
  EXPECT_NE(std::string::npos, exploded.find("layer 4: D4/4 r/4 r/4 r/4")) << exploded;
  // The staves the command leaves alone: single notes, a used layer 2, a five-note chord.
  EXPECT_NE(std::string::npos, exploded.find("layer 1: G2/1")) << exploded;
  EXPECT_NE(std::string::npos, exploded.find("layer 2: D4/1")) << exploded;
  EXPECT_NE(std::string::npos, exploded.find("layer 1: D5-B4-G4-D4-G3/1")) << exploded;
  musicxml::MxScore score;
  ASSERT_TRUE(musicxml::MxReader::ReadFile(output, &score));
  std::string errors;
  EXPECT_EQ(std::vector<bool>{true}, testsupport::ValidateWithSchema({output}, &errors)) << errors;
}

TEST(ExplodeLayersTool, WritesToStandardOutputWithADash) {
  const ToolRun run = RunTool({"--demo", "-o", "-"});
  ASSERT_EQ(0, run.status) << run.errors;
  musicxml::MxScore score;
  const musicxml::MxResult read = musicxml::MxReader::ReadMemory(run.output, "stdout", &score);
  EXPECT_TRUE(read) << read.Message();
  EXPECT_EQ(4u, score.parts.size());
}

}  // namespace
