#include "actions/ProgramLauncher.h"

#include "platform/Paths.h"

namespace quorvel {

void LaunchProgram(Processes& processes, const std::string& applicationPath, std::string_view arguments) {
    if (applicationPath.empty()) {
        return;
    }
    ProcessLaunch launch;
    // Quoted, so a path with spaces is one program name and not a program and arguments.
    launch.commandLine = '"' + applicationPath + "\" " + std::string(arguments);
    // The program starts in its own folder. A bare file name has none: the new process then
    // inherits ours, since CreateProcessA rejects an empty directory.
    if (const std::string_view folder = SplitPath(applicationPath).folder; !folder.empty()) {
        launch.workingDirectory = std::string(folder);
    }
    launch.creationFlags = kCreateNewConsole | kIdlePriorityClass;
    launch.startupFlags = kStartfUseShowWindow;
    launch.showWindow = kSwShowNormal;
    processes.StartProcess(launch);
}

}  // namespace quorvel
