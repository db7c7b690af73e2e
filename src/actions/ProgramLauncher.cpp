#include "actions/ProgramLauncher.h"

namespace quorvel {

void LaunchProgram(Processes& processes, const std::string& applicationPath) {
    if (applicationPath.empty()) {
        return;
    }
    ProcessLaunch launch;
    // Quoted, so a path with spaces is one program name and not a program and arguments.
    launch.commandLine = '"' + applicationPath + "\" ";
    // The program starts in its own folder. A bare file name has none: the new process then
    // inherits ours, since CreateProcessA rejects an empty directory.
    const std::size_t folderEnd = applicationPath.find_last_of("\\:");
    if (folderEnd != std::string::npos) {
        launch.workingDirectory = applicationPath.substr(0, folderEnd + 1);
    }
    launch.creationFlags = kCreateNewConsole | kIdlePriorityClass;
    launch.startupFlags = kStartfUseShowWindow;
    launch.showWindow = kSwShowNormal;
    processes.StartProcess(launch);
}

}  // namespace quorvel
