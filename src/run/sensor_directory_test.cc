// FindSensorDirectory and the path file over the in-memory platform.
#include "run/sensor_directory.h"

#include <gtest/gtest.h>

#include "platform/memory_platform.h"

namespace kestrova {
namespace {

const char kPathFile[] = "C:\\Prtg_Path.Txt";
const char* const kSubPaths[] = {
    "PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Custom Sensors\\ExeXml",
    "Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
    "Programme (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml",
};

std::string ErrorDocument(const std::string& text) {
  return "<Prtg>\r\n\r\n<Error>1</Error>\r\n<Text>" + text + "</Text>\r\n\r\n</Prtg>\r\n";
}

class FindSensorDirectoryTest : public testing::Test {
 protected:
  // Marks `directory` as set up (a Kestrova.Host holding `marker`).
  void SetUpDirectory(const std::string& directory, const std::string& marker = "Xml\r\n") {
    platform.files[directory + "\\Kestrova.Host"] = marker;
  }
  void SetUpCandidate(const std::string& root, int order, const std::string& marker = "Xml\r\n") {
    SetUpDirectory(root + kSubPaths[order - 1], marker);
  }
  bool Find() {
    context.start_directory = start_directory;
    context.start_directory_set_up = start_directory_set_up;
    return FindSensorDirectory(context);
  }
  bool Opened(const std::string& name) const {
    for (const auto& opened : platform.opened) {
      if (opened == name) return true;
    }
    return false;
  }

  MemoryPlatform platform;
  RunContext context{&platform, {"Router.Prf"}};
  std::string start_directory = "C:\\Start";
  bool start_directory_set_up = false;
};

// Step 1: a start directory that is set up is the sensor directory; the path file is not looked at.

TEST_F(FindSensorDirectoryTest, StartDirectorySetUpIsTheSensorDirectory) {
  start_directory_set_up = true;
  platform.files[kPathFile] = "D:\\\r\n";
  SetUpCandidate("D:\\", 1);
  EXPECT_TRUE(Find());
  EXPECT_EQ(context.sensor_directory, "C:\\Start");
  EXPECT_FALSE(Opened(kPathFile));
  EXPECT_EQ(platform.standard_output, "");
}

TEST_F(FindSensorDirectoryTest, StartDirectorySetUpIgnoresAMissingOrUnreadablePathFile) {
  start_directory_set_up = true;
  EXPECT_TRUE(Find());
  EXPECT_EQ(context.sensor_directory, "C:\\Start");

  platform.files[kPathFile] = "D:\\";
  platform.unopenable.insert(kPathFile);
  EXPECT_TRUE(Find());
  EXPECT_EQ(context.sensor_directory, "C:\\Start");
  EXPECT_EQ(platform.standard_output, "");
}

TEST_F(FindSensorDirectoryTest, StartDirectoryIsTakenExactlyAsRecorded) {
  start_directory = "C:\\";
  start_directory_set_up = true;
  EXPECT_TRUE(Find());
  EXPECT_EQ(context.sensor_directory, "C:\\");
}

// The three errors and the unreadable path file.

TEST_F(FindSensorDirectoryTest, MissingPathFileIsError1002) {
  SetUpCandidate("C:\\Start\\", 1);  // would be found through an empty path file
  EXPECT_FALSE(Find());
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1002: File \"C:\\Prtg_Path.Txt\" not found"));
  EXPECT_EQ(context.sensor_directory, "");
}

TEST_F(FindSensorDirectoryTest, PathFileThatIsADirectoryIsError1002) {
  platform.directories.insert(kPathFile);
  EXPECT_FALSE(Find());
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1002: File \"C:\\Prtg_Path.Txt\" not found"));
}

TEST_F(FindSensorDirectoryTest, PathFileThatCannotBeOpenedIsError1002CouldNotBeRead) {
  platform.files[kPathFile] = "D:\\\r\n";
  platform.unopenable.insert(kPathFile);
  SetUpCandidate("D:\\", 1);
  EXPECT_FALSE(Find());
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1002: File \"C:\\Prtg_Path.Txt\" could not be read"));
  EXPECT_EQ(context.sensor_directory, "");
}

TEST_F(FindSensorDirectoryTest, PathFileWhoseReadingFailsPartWayIsError1002CouldNotBeRead) {
  // The memory platform hands out the first half ("D:\" and its line end), then a read error.
  platform.files[kPathFile] = "D:\\\r\nE:\\\r\n";
  platform.unreadable.insert(kPathFile);
  SetUpCandidate("D:\\", 1);
  SetUpCandidate("E:\\", 1);
  EXPECT_FALSE(Find());
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1002: File \"C:\\Prtg_Path.Txt\" could not be read"));
  EXPECT_EQ(context.sensor_directory, "");
}

TEST_F(FindSensorDirectoryTest, RootWithoutColonIsError1003) {
  platform.files[kPathFile] = "\\\\server\\share\r\n";
  SetUpCandidate("\\\\server\\share\\", 1);
  EXPECT_FALSE(Find());
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1003: Invalid Path within Prtg_Path.Txt found"));
  EXPECT_EQ(context.sensor_directory, "");
}

TEST_F(FindSensorDirectoryTest, NoCandidateSetUpIsError1004WithoutTheFinalBlankInText) {
  platform.files[kPathFile] = "D:\\\r\n";
  SetUpDirectory("D:\\PRTG Network Monitor\\Custom Sensors");  // near, but no candidate
  SetUpDirectory("D:");
  EXPECT_FALSE(Find());
  EXPECT_EQ(platform.standard_output, ErrorDocument("Error 1004: Invalid Starting-Path -"));
  EXPECT_EQ(context.sensor_directory, "");
}

// The path-file line rules: the last line decides. Candidate 1 is set up below every root a case
// could name, so the sensor directory shows which root was used.

struct PathFileCase {
  const char* name;
  std::string content;
  std::string root;  // empty: Error 1003
  std::string start_directory = "C:\\Start";
};

void PrintTo(const PathFileCase& c, std::ostream* out) { *out << c.name; }

class PathFileLinesTest : public FindSensorDirectoryTest,
                          public testing::WithParamInterface<PathFileCase> {};

TEST_P(PathFileLinesTest, TheLastLineIsTheInstallationRoot) {
  const PathFileCase& c = GetParam();
  start_directory = c.start_directory;
  platform.files[kPathFile] = c.content;
  for (const char* root : {"C:\\", "D:\\", "E:\\", "D:\\Tools\\", "C:\\Start\\"}) {
    SetUpCandidate(root, 1);
  }
  if (!c.root.empty()) SetUpCandidate(c.root, 1);

  const bool found = Find();
  if (c.root.empty()) {
    EXPECT_FALSE(found);
    EXPECT_EQ(platform.standard_output,
              ErrorDocument("Error 1003: Invalid Path within Prtg_Path.Txt found"));
  } else {
    EXPECT_TRUE(found);
    EXPECT_EQ(context.sensor_directory, c.root + kSubPaths[0]);
    EXPECT_EQ(platform.standard_output, "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PathFileLinesTest,
    testing::Values(PathFileCase{"DriveRoot", "D:\\", "D:\\"},
                    PathFileCase{"BackslashAppended", "D:\\Tools", "D:\\Tools\\"},
                    PathFileCase{"CarriageReturn", "C:\\\rD:\\\r", "D:\\"},
                    PathFileCase{"CarriageReturnLineFeed", "C:\\\r\nD:\\\r\n", "D:\\"},
                    PathFileCase{"NoLineEndOnTheLastLine", "C:\\\r\nD:\\", "D:\\"},
                    PathFileCase{"LoneLineFeedIsPartOfTheRoot", "C:\\\nD:\\\n", "C:\\\nD:\\\n\\"},
                    PathFileCase{"LoneLineFeedsAfterTheLastLineEnd", "C:\\\r\nD:\\\n", "D:\\\n\\"},
                    PathFileCase{"Code26EndsTheText", "D:\\\x1a\r\nE:\\\r\n", "D:\\"},
                    PathFileCase{"Code26AfterALineEnd",
                                 "D:\\\r\n\x1a"
                                 "E:\\",
                                 "D:\\"},
                    PathFileCase{"TwoLineBreaksAtTheEnd", "D:\\\r\n\r\n", ""},
                    PathFileCase{"TwoCarriageReturnsAtTheEnd", "D:\\\r\r", ""},
                    PathFileCase{"EmptyFileMeansTheStartDirectory", "", "C:\\Start\\"},
                    PathFileCase{"Code26AloneMeansTheStartDirectory", "\x1a", "C:\\Start\\"},
                    PathFileCase{"StartDirectoryAtADriveRootGetsNoSecondBackslash", "", "C:\\",
                                 "C:\\"},
                    PathFileCase{"StartDirectoryWithoutDriveIsError1003", "", "", "/tmp/start"},
                    PathFileCase{"BlanksAroundTheRootStay", "  D:\\Tools  ", "  D:\\Tools  \\"},
                    PathFileCase{"LetterCaseStays", "d:\\tools", "d:\\tools\\"},
                    PathFileCase{"ColonAnywhere", "Tools:x", "Tools:x\\"},
                    PathFileCase{"NoColon", "Tools", ""},
                    PathFileCase{"NetworkPath", "\\\\server\\share", ""},
                    PathFileCase{"OnlyALineEnd", "\r\n", ""}),
    [](const testing::TestParamInfo<PathFileCase>& info) { return info.param.name; });

TEST_F(FindSensorDirectoryTest, ALongLastLineIsTakenWhole) {
  const std::string root = "D:\\" + std::string(100000, 'x') + "\\";
  platform.files[kPathFile] = "C:\\\r\n" + root;
  SetUpCandidate(root, 2);
  EXPECT_TRUE(Find());
  EXPECT_EQ(context.sensor_directory, root + kSubPaths[1]);
}

// The six candidates, in their order.

TEST_F(FindSensorDirectoryTest, EachCandidateAloneIsFound) {
  for (int order = 1; order <= 6; ++order) {
    MemoryPlatform platform;
    platform.files[kPathFile] = "D:\\Inst\r\n";
    platform.files[std::string("D:\\Inst\\") + kSubPaths[order - 1] + "\\Kestrova.Host"] = "";
    RunContext context(&platform, {});
    context.start_directory = "C:\\Start";
    EXPECT_TRUE(FindSensorDirectory(context)) << order;
    EXPECT_EQ(context.sensor_directory, std::string("D:\\Inst\\") + kSubPaths[order - 1]) << order;
    EXPECT_EQ(platform.standard_output, "") << order;
  }
}

TEST_F(FindSensorDirectoryTest, TheFirstCandidateSetUpWins) {
  for (int first = 1; first <= 6; ++first) {
    MemoryPlatform platform;
    platform.files[kPathFile] = "D:\\";
    for (int order = first; order <= 6; ++order) {
      platform.files[std::string("D:\\") + kSubPaths[order - 1] + "\\Kestrova.Host"] = "Xml";
    }
    RunContext context(&platform, {});
    context.start_directory = "C:\\Start";
    EXPECT_TRUE(FindSensorDirectory(context));
    EXPECT_EQ(context.sensor_directory, std::string("D:\\") + kSubPaths[first - 1]) << first;
    // The candidates after it are not asked.
    for (int order = first + 1; order <= 6; ++order) {
      const std::string marker = std::string("D:\\") + kSubPaths[order - 1] + "\\Kestrova.Host";
      for (const auto& opened : platform.opened) EXPECT_NE(opened, marker);
    }
  }
}

TEST_F(FindSensorDirectoryTest, CandidatesOneAndFourGiveOne) {
  platform.files[kPathFile] = "D:\\";
  SetUpCandidate("D:\\", 4);
  SetUpCandidate("D:\\", 1);
  EXPECT_TRUE(Find());
  EXPECT_EQ(context.sensor_directory, "D:\\PRTG Network Monitor\\Custom Sensors\\ExeXml");
}

TEST_F(FindSensorDirectoryTest, OnlyTheXmlFlavourCounts) {
  platform.files[kPathFile] = "D:\\";
  SetUpCandidate("D:\\", 1, "Statistic\r\n");
  SetUpCandidate("D:\\", 2, "Context");
  SetUpCandidate("D:\\", 3, "Prtg");  // not set up at all
  SetUpCandidate("D:\\", 4, "  xML \r\nStatistic");
  SetUpCandidate("D:\\", 5);
  EXPECT_TRUE(Find());
  EXPECT_EQ(context.sensor_directory, std::string("D:\\") + kSubPaths[3]);
}

TEST(SensorDirectorySetUpTest, ReadsTheWholeFirstLine) {
  MemoryPlatform platform;
  HostFlavour flavour = HostFlavour::kContext;
  platform.files["D:\\A\\Kestrova.Host"] = "Xml" + std::string(100, ' ') + "\r\n";
  EXPECT_TRUE(SensorDirectorySetUp(platform, "D:\\A", &flavour));
  EXPECT_EQ(flavour, HostFlavour::kXml);
  // Another word after many blanks: not a flavour, so not set up.
  platform.files["D:\\B\\Kestrova.Host"] = "Xml" + std::string(100, ' ') + "Statistic\r\n";
  EXPECT_FALSE(SensorDirectorySetUp(platform, "D:\\B", &flavour));
}

TEST_F(FindSensorDirectoryTest, OtherFlavoursOnlyGiveError1004) {
  platform.files[kPathFile] = "D:\\";
  SetUpCandidate("D:\\", 1, "Statistic");
  SetUpCandidate("D:\\", 6, "Context");
  EXPECT_FALSE(Find());
  EXPECT_EQ(platform.standard_output, ErrorDocument("Error 1004: Invalid Starting-Path -"));
}

TEST_F(FindSensorDirectoryTest, FoundSensorDirectoryNeverEndsInBackslash) {
  for (const char* line : {"D:\\", "D:\\\\", "D:\\Tools", "D:\\Tools\\"}) {
    MemoryPlatform platform;
    platform.files[kPathFile] = line;
    const std::string root = std::string(line).back() == '\\' ? line : std::string(line) + "\\";
    platform.files[root + kSubPaths[5] + "\\Kestrova.Host"] = "";
    RunContext context(&platform, {});
    context.start_directory = "C:\\Start";
    ASSERT_TRUE(FindSensorDirectory(context)) << line;
    EXPECT_EQ(context.sensor_directory, root + kSubPaths[5]);
    EXPECT_NE(context.sensor_directory.back(), '\\');
  }
}

}  // namespace
}  // namespace kestrova
