// The parameter line, the device profile and the options over the in-memory platform.
#include "run/parameters.h"

#include <gtest/gtest.h>

#include "platform/memory_platform.h"

namespace kestrova {
namespace {

using Arguments = std::vector<std::string>;

std::string ErrorDocument(const std::string& text) {
  return "<Prtg>\r\n\r\n<Error>1</Error>\r\n<Text>" + text + "</Text>\r\n\r\n</Prtg>\r\n";
}

// ---- BuildParameterLine ----

struct LineCase {
  const char* name;
  Arguments arguments;
  std::string parameter_line;
  bool profiler_mode = false;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class ParameterLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(ParameterLineTest, JoinsArgumentsOneToFive) {
  MemoryPlatform platform;
  RunContext context(&platform, GetParam().arguments);
  context.parameter_line = "left over";
  BuildParameterLine(context);
  EXPECT_EQ(context.parameter_line, GetParam().parameter_line);
  EXPECT_EQ(InProfilerMode(context), GetParam().profiler_mode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParameterLineTest,
    testing::Values(
        LineCase{"NoArguments", {}, ""}, LineCase{"ProfileOnly", {"Router.Prf"}, "Router.Prf"},
        LineCase{"JoinedBySingleBlanks",
                 {"Router.Prf", "Slct=22,State=L", "/Check"},
                 "Router.Prf Slct=22,State=L /Check"},
        LineCase{
            "BlankOnlyArgumentAddsNothing", {"Router.Prf", "   ", "State=L"}, "Router.Prf State=L"},
        LineCase{"ControlCharactersCountAsBlanks",
                 {"Router.Prf", "\t", " \r\n", std::string("\x01\x1f", 2), "/Check"},
                 "Router.Prf /Check"},
        LineCase{"EmptyArgumentsAddNothing", {"", "Router.Prf", "", "x"}, "Router.Prf x"},
        LineCase{"LeadingBlanksGoFromTheFirstOnly", {"  a  ", "  b  ", "c\t"}, "a   b c"},
        LineCase{
            "InnerBlanksStay", {"Router.Prf", "Slct=22, State=L"}, "Router.Prf Slct=22, State=L"},
        LineCase{"SixthArgumentIsNotRead", {"a", "b", "c", "d", "e", "Profiler.Prf"}, "a b c d e"},
        LineCase{"FifthArgumentIsRead", {"a", "", "", "", "e"}, "a e"},
        LineCase{"ProfilerAsProfile", {"Profiler.Prf"}, "Profiler.Prf", true},
        LineCase{
            "ProfilerAsOption", {"Router.Prf", "Profiler.Prf"}, "Router.Prf Profiler.Prf", true},
        LineCase{"ProfilerInsideAWord", {"xProfiler.Prfx"}, "xProfiler.Prfx", true},
        LineCase{"ProfilerInOtherCase", {"profiler.prf"}, "profiler.prf", false}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

// ---- ReadProfile ----

class ReadProfileTest : public testing::Test {
 protected:
  bool Read(const Arguments& arguments) {
    context = std::make_unique<RunContext>(&platform, arguments);
    context->sensor_directory = sensor_directory;
    context->ip_address = context->alias = context->description = context->community =
        context->system_number = "stale";
    return ReadProfile(*context);
  }
  std::vector<std::string> Values() const {
    return {context->ip_address, context->alias, context->description, context->community,
            context->system_number};
  }

  MemoryPlatform platform;
  std::string sensor_directory = "C:\\Sens";
  std::unique_ptr<RunContext> context;
};

TEST_F(ReadProfileTest, ProfilePathIsSensorDirectoryBackslashArgumentOne) {
  platform.files["C:\\Sens\\Router.Prf"] = "IP-Addr....: 10.0.0.1\r\n";
  EXPECT_TRUE(Read({"Router.Prf", "Slct=1"}));
  EXPECT_EQ(context->profile_path, "C:\\Sens\\Router.Prf");
  EXPECT_EQ(context->ip_address, "10.0.0.1");
  EXPECT_EQ(platform.standard_output, "");
}

TEST_F(ReadProfileTest, ProfileInASubdirectoryIsFound) {
  platform.files["C:\\Sens\\sub\\Router.Prf"] = "Community..: public";
  EXPECT_TRUE(Read({"sub\\Router.Prf"}));
  EXPECT_EQ(context->community, "public");
}

TEST_F(ReadProfileTest, SensorDirectoryAtADriveRootGivesTwoBackslashes) {
  sensor_directory = "C:\\";
  platform.files["C:\\\\Router.Prf"] = "Sysnr......: 7";
  EXPECT_TRUE(Read({"Router.Prf"}));
  EXPECT_EQ(context->profile_path, "C:\\\\Router.Prf");
  EXPECT_EQ(context->system_number, "7");
}

TEST_F(ReadProfileTest, ArgumentOneIsNotTrimmed) {
  platform.files["C:\\Sens\\Router.Prf"] = "";
  EXPECT_FALSE(Read({" Router.Prf"}));
  EXPECT_EQ(context->profile_path, "C:\\Sens\\ Router.Prf");
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1006: Profile C:\\Sens\\ Router.Prf missing..."));
}

struct MissingCase {
  const char* name;
  Arguments arguments;
  std::string profile_path;
};

void PrintTo(const MissingCase& c, std::ostream* out) { *out << c.name; }

class MissingProfileTest : public ReadProfileTest,
                           public testing::WithParamInterface<MissingCase> {};

TEST_P(MissingProfileTest, IsError1006WithTheProfilePath) {
  platform.files["D:\\Router.Prf"] = "IP-Addr....: 1";
  platform.files["C:\\Sens\\Other.Prf"] = "IP-Addr....: 1";
  platform.directories.insert("C:\\Sens\\Dir.Prf");
  EXPECT_FALSE(Read(GetParam().arguments));
  EXPECT_EQ(context->profile_path, GetParam().profile_path);
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1006: Profile " + GetParam().profile_path + " missing..."));
  EXPECT_TRUE(platform.opened.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MissingProfileTest,
    testing::Values(MissingCase{"NoArguments", {}, "C:\\Sens\\"},
                    MissingCase{"NoSuchFile", {"Router.Prf"}, "C:\\Sens\\Router.Prf"},
                    MissingCase{
                        "FullPathIsAppendedToo", {"D:\\Router.Prf"}, "C:\\Sens\\D:\\Router.Prf"},
                    MissingCase{"OtherLetterCase", {"other.prf"}, "C:\\Sens\\other.prf"},
                    MissingCase{"ADirectoryDoesNotCount", {"Dir.Prf"}, "C:\\Sens\\Dir.Prf"}),
    [](const testing::TestParamInfo<MissingCase>& info) { return info.param.name; });

TEST_F(ReadProfileTest, ProfileThatCannotBeOpenedIsError1006CouldNotBeRead) {
  platform.files["C:\\Sens\\Router.Prf"] = "IP-Addr....: 10.0.0.1\r\n";
  platform.unopenable.insert("C:\\Sens\\Router.Prf");
  EXPECT_FALSE(Read({"Router.Prf"}));
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1006: Profile C:\\Sens\\Router.Prf could not be read"));
}

TEST_F(ReadProfileTest, ProfileWhoseReadingFailsPartWayIsError1006CouldNotBeRead) {
  platform.files["C:\\Sens\\Router.Prf"] = "IP-Addr....: 10.0.0.1\r\nCommunity..: public\r\n";
  platform.unreadable.insert("C:\\Sens\\Router.Prf");
  EXPECT_FALSE(Read({"Router.Prf"}));
  EXPECT_EQ(platform.standard_output,
            ErrorDocument("Error 1006: Profile C:\\Sens\\Router.Prf could not be read"));
}

struct ProfileCase {
  const char* name;
  std::string content;
  // IP address, alias, description, community, system number.
  std::vector<std::string> values;
};

void PrintTo(const ProfileCase& c, std::ostream* out) { *out << c.name; }

class ProfileContentTest : public ReadProfileTest,
                           public testing::WithParamInterface<ProfileCase> {};

TEST_P(ProfileContentTest, GivesTheFiveValues) {
  platform.files["C:\\Sens\\Router.Prf"] = GetParam().content;
  EXPECT_TRUE(Read({"Router.Prf"}));
  EXPECT_EQ(Values(), GetParam().values);
  EXPECT_EQ(platform.standard_output, "");
}

const std::string k120 = std::string(60, 'a') + std::string(60, 'b');

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileContentTest,
    testing::Values(
        ProfileCase{"AllFive",
                    "IP-Addr....: 10.0.0.1\r\nAlias......: core\r\nDescription: Core switch\r\n"
                    "Community..: public\r\nSysnr......: 42\r\n",
                    {"10.0.0.1", "core", "Core switch", "public", "42"}},
        ProfileCase{"AnyOrderAndOtherLinesIgnored",
                    "; remark\r\nSysnr......: 0042\r\n\r\nVendor.....: x\r\nAlias......: a\r\n",
                    {"", "a", "", "", "0042"}},
        ProfileCase{"Empty", "", {"", "", "", "", ""}},
        ProfileCase{"NoLabelAtAll", "10.0.0.1\r\npublic\r\n", {"", "", "", "", ""}},
        ProfileCase{"LastLineWins",
                    "IP-Addr....: 1.1.1.1\r\nIP-Addr....: 2.2.2.2\r\n",
                    {"2.2.2.2", "", "", "", ""}},
        ProfileCase{"LastLineWinsAlsoWhenEmpty",
                    "Alias......: core\r\nAlias......: \r\n",
                    {"", "", "", "", ""}},
        ProfileCase{"ThirteenCharacterLineEmptiesTheValue",
                    "Community..: x\r\nCommunity..: ",
                    {"", "", "", "", ""}},
        ProfileCase{"ValueKeepsItsFirst99",
                    "Description: " + k120 + "\r\n",
                    {"", "", k120.substr(0, 99), "", ""}},
        ProfileCase{"ValueOf99IsWhole",
                    "Description: " + k120.substr(0, 99),
                    {"", "", k120.substr(0, 99), "", ""}},
        ProfileCase{"BlanksAreKept",
                    "Alias......:   core  \r\nCommunity..: a b\t\r\n",
                    {"", "  core  ", "", "a b\t", ""}},
        ProfileCase{
            "OtherLetterCaseIgnored", "ip-addr....: 1\r\nALIAS......: 2\r\n", {"", "", "", "", ""}},
        ProfileCase{"TabForTheFinalBlankIgnored", "IP-Addr....:\t1\r\n", {"", "", "", "", ""}},
        ProfileCase{"OtherNumberOfDotsIgnored",
                    "IP-Addr...: 1\r\nIP-Addr.....: 2\r\nAlias.....: 3\r\n",
                    {"", "", "", "", ""}},
        ProfileCase{"LabelNotAtTheStartIgnored", " IP-Addr....: 1\r\n", {"", "", "", "", ""}},
        ProfileCase{
            "LabelWithoutItsBlankIgnored", "IP-Addr....:\r\nSysnr......:", {"", "", "", "", ""}},
        ProfileCase{"CarriageReturnAloneEndsALine",
                    "IP-Addr....: 1\rAlias......: 2\r",
                    {"1", "2", "", "", ""}},
        ProfileCase{"LoneLineFeedStaysInTheValue",
                    "Alias......: a\nSysnr......: 2\r\n",
                    {"", "a\nSysnr......: 2", "", "", ""}},
        ProfileCase{
            "Code26EndsTheText", "IP-Addr....: 1\x1a\r\nAlias......: 2\r\n", {"1", "", "", "", ""}},
        ProfileCase{"EightBitCharactersKept",
                    "Description: Schaltschrank \xc4\xd6\xdc",
                    {"", "", "Schaltschrank \xc4\xd6\xdc", "", ""}}),
    [](const testing::TestParamInfo<ProfileCase>& info) { return info.param.name; });

TEST_F(ReadProfileTest, AVeryLongLineCostsOnlyItsValue) {
  platform.files["C:\\Sens\\Router.Prf"] =
      "Alias......: " + std::string(1 << 20, 'x') + "\r\nIP-Addr....: 1\r\n";
  EXPECT_TRUE(Read({"Router.Prf"}));
  EXPECT_EQ(context->alias, std::string(99, 'x'));
  EXPECT_EQ(context->ip_address, "1");
}

// ---- ReadOptions ----

struct OptionsCase {
  const char* name;
  std::string parameter_line;
  std::string options_text;
  std::string selection;
  std::string state_filter;
};

void PrintTo(const OptionsCase& c, std::ostream* out) { *out << c.name; }

class ReadOptionsTest : public testing::TestWithParam<OptionsCase> {};

TEST_P(ReadOptionsTest, GivesTheSelectionTheStateFilterAndTraceLines2To5) {
  MemoryPlatform platform;
  platform.time_of_day = {14, 5, 7};
  RunContext context(&platform, {});
  context.parameter_line = GetParam().parameter_line;
  context.sensor_directory = "C:\\Sens";
  context.ip_address = "10.0.0.1";
  context.alias = "core";
  context.system_number = "42";
  context.selection = context.state_filter = "stale";
  context.trace_file = platform.CreateWithReadSharing("C:\\Sens\\Profiler.Trc");
  context.trace_open = true;

  ReadOptions(context);

  EXPECT_EQ(context.selection, GetParam().selection);
  EXPECT_EQ(context.state_filter, GetParam().state_filter);
  EXPECT_EQ(context.parameter_line, GetParam().parameter_line);  // untouched
  EXPECT_EQ(platform.files["C:\\Sens\\Profiler.Trc"],
            "14:05:07 Snmp IP=10.0.0.1, Alias=core.N42\r\n"
            "14:05:07 Snmp Params: " +
                GetParam().options_text +
                "\r\n"
                "14:05:07 Snmp Path: C:\\Sens\r\n"
                "14:05:07 Snmp Starting Connection...\r\n");
  EXPECT_EQ(platform.standard_output, "");
}

const std::string k150 = std::string(150, 'b');

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadOptionsTest,
    testing::Values(
        OptionsCase{"NothingToFind", "Router.Prf", "Router.Prf", "", ""},
        OptionsCase{"Empty", "", "", "", ""},
        OptionsCase{"SelectionAndStateBeforeANote", "Router.Prf Slct=22,State=L #note",
                    "Router.Prf Slct=22,State=L", "22", "L"},
        OptionsCase{"SeparateArgumentsRunOn", "Router.Prf Slct=22 State=L",
                    "Router.Prf Slct=22 State=L", "22 State=L", "L"},
        OptionsCase{"SelectionAll", "Router.Prf Slct=All,State=E", "Router.Prf Slct=All,State=E",
                    "", "E"},
        OptionsCase{"SelectionAllAndMore", "Router.Prf Slct=Allports", "Router.Prf Slct=Allports",
                    "", ""},
        OptionsCase{"SelectionAtTheEnd", "Router.Prf Slct=", "Router.Prf Slct=", "", ""},
        OptionsCase{"SelectionAllInSmallLetters", "Router.Prf Slct=all", "Router.Prf Slct=all",
                    "all", ""},
        OptionsCase{"SelectionShorterThanAll", "Router.Prf Slct=Al", "Router.Prf Slct=Al", "Al",
                    ""},
        OptionsCase{"SelectionStartingWithAComma", "Router.Prf Slct=,State=L",
                    "Router.Prf Slct=,State=L", "", "L"},
        OptionsCase{"SelectionKeepsAtMost99", "R Slct=" + k150, "R Slct=" + k150,
                    k150.substr(0, 99), ""},
        OptionsCase{"FirstSelectionCounts", "R Slct=1,Slct=2", "R Slct=1,Slct=2", "1", ""},
        OptionsCase{"StateAtTheEnd", "Router.Prf State=", "Router.Prf State=", "", ""},
        OptionsCase{"StateWordGivesItsFirstCharacter", "Router.Prf State=Listen",
                    "Router.Prf State=Listen", "", "L"},
        OptionsCase{"FirstStateCounts", "R State=E,State=L", "R State=E,State=L", "", "E"},
        OptionsCase{"OtherLetterCaseIsNoOption", "R slct=22,state=L", "R slct=22,state=L", "", ""},
        OptionsCase{"SelectionAfterANoteIsEmpty", "Router.Prf #Slct=22", "Router.Prf", "", ""},
        OptionsCase{"CutAtBlankAt", "Router.Prf @x Slct=22,State=L", "Router.Prf", "", ""},
        OptionsCase{"CutAtBlankParenthesis", "Router.Prf (x) State=L", "Router.Prf", "", ""},
        OptionsCase{"EarliestMarkerCountsHashFirst", "R Slct=1 #a @b (c", "R Slct=1", "1", ""},
        OptionsCase{"EarliestMarkerCountsParenthesisFirst", "R Slct=1 (a #b @c", "R Slct=1", "1",
                    ""},
        OptionsCase{"EarliestMarkerCountsAtFirst", "R Slct=1 @a (b #c", "R Slct=1", "1", ""},
        OptionsCase{"MarkersWithoutBlankStay", "R Slct=2@2#(x", "R Slct=2@2#(x", "2@2#(x", ""},
        OptionsCase{"ParAtTheStartEmpties", "(Par) Slct=22,State=L", "", "", ""},
        OptionsCase{"ParamAtTheStartEmpties", "(Param Slct=22,State=L", "", "", ""},
        OptionsCase{"ParNotAtTheStartIsCut", "Router.Prf (Par Slct=22", "Router.Prf", "", ""},
        OptionsCase{"ParInOtherCaseStays", "(par Slct=22", "(par Slct=22", "22", ""},
        OptionsCase{"ProfilerAlone", "Profiler.Prf", "", "", ""},
        OptionsCase{"ProfilerThenState", "Profiler.Prf State=L", "State=L", "", "L"},
        OptionsCase{"ProfilerRestTrimmed", "Profiler.Prf   Slct=5   #x", "Slct=5", "5", ""},
        OptionsCase{"ProfilerWithoutBlank", "Profiler.PrfSlct=5", "Slct=5", "5", ""},
        OptionsCase{"ProfilerRestKeeps99BeforeTrim", "Profiler.Prf Slct=" + k150,
                    "Slct=" + k150.substr(0, 93), k150.substr(0, 93), ""},
        OptionsCase{"ProfilerAsSecondArgumentStays", "Router.Prf Profiler.Prf State=L",
                    "Router.Prf Profiler.Prf State=L", "", "L"},
        OptionsCase{"ProfilerAfterParIsGone", "(Par Profiler.Prf State=L", "", "", ""},
        OptionsCase{"ProfilerInOtherCaseStays", "profiler.prf State=L", "profiler.prf State=L", "",
                    "L"}),
    [](const testing::TestParamInfo<OptionsCase>& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST(ReadOptionsTraceTest, WritesNothingWhileTheTraceLogIsClosed) {
  MemoryPlatform platform;
  RunContext context(&platform, {});
  context.parameter_line = "Router.Prf Slct=22,State=L";
  context.sensor_directory = "C:\\Sens";
  ReadOptions(context);
  EXPECT_EQ(context.selection, "22");
  EXPECT_EQ(context.state_filter, "L");
  EXPECT_TRUE(platform.files.empty());
  EXPECT_EQ(platform.standard_output, "");
}

TEST(ReadOptionsTraceTest, TraceLine2JoinsTheProfileValuesUnchanged) {
  MemoryPlatform platform;
  RunContext context(&platform, {});
  context.sensor_directory = "/tmp/sens";
  context.ip_address = " 10.0.0.1 ";
  context.alias = "";
  context.system_number = "";
  context.trace_file = platform.CreateWithReadSharing("T");
  context.trace_open = true;
  ReadOptions(context);
  EXPECT_EQ(platform.files["T"],
            "12:00:00 Snmp IP= 10.0.0.1 , Alias=.N\r\n"
            "12:00:00 Snmp Params: \r\n"
            "12:00:00 Snmp Path: /tmp/sens\r\n"
            "12:00:00 Snmp Starting Connection...\r\n");
}

}  // namespace
}  // namespace kestrova
