#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "actions/ProgramLauncher.h"
#include "fakes/FakeProcesses.h"

namespace quorvel {
namespace {

struct LaunchCase {
    const char* description;
    std::string path;
    std::string commandLine;
    std::optional<std::string> workingDirectory;
};

class LaunchArguments : public testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchArguments, QuotesThePathAndStartsInItsFolder) {
    FakeProcesses processes;
    LaunchProgram(processes, GetParam().path);
    ASSERT_EQ(processes.launches.size(), 1u);
    const ProcessLaunch& launch = processes.launches[0];
    EXPECT_EQ(launch.commandLine, GetParam().commandLine);
    EXPECT_EQ(launch.workingDirectory, GetParam().workingDirectory);
    EXPECT_EQ(launch.creationFlags, 0x50u);
    EXPECT_EQ(launch.startupFlags, 1u);
    EXPECT_EQ(launch.showWindow, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    ProgramLauncher, LaunchArguments,
    testing::Values(
        LaunchCase{"FolderPath", R"(C:\Tools\player.exe)", R"("C:\Tools\player.exe" )", R"(C:\Tools\)"},
        LaunchCase{"SpacesInPath", R"(C:\Program Files\My Player\run.cmd)", R"("C:\Program Files\My Player\run.cmd" )",
                   R"(C:\Program Files\My Player\)"},
        LaunchCase{"DriveRelativePath", "C:player.exe", R"("C:player.exe" )", "C:"},
        LaunchCase{"ColonAfterLastBackslash", R"(C:\a\D:x.exe)", R"("C:\a\D:x.exe" )", R"(C:\a\D:)"},
        LaunchCase{"NetworkShare", R"(\\server\share\tv.bat)", R"("\\server\share\tv.bat" )", R"(\\server\share\)"},
        // A bare name has no folder: the new process inherits ours.
        LaunchCase{"BareFileName", "player.exe", R"("player.exe" )", std::nullopt}),
    [](const testing::TestParamInfo<LaunchCase>& info) { return std::string(info.param.description); });

TEST(ProgramLauncher, EmptyPathStartsNothing) {
    FakeProcesses processes;
    LaunchProgram(processes, "");
    EXPECT_TRUE(processes.launches.empty());
}

TEST(ProgramLauncher, FailedStartIsNotRetried) {
    FakeProcesses processes;
    processes.startSucceeds = false;
    LaunchProgram(processes, R"(C:\Missing\gone.exe)");
    EXPECT_EQ(processes.launches.size(), 1u);
}

}  // namespace
}  // namespace quorvel
