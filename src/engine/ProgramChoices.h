#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

class Dialogs;
class ProgramWindows;
struct Model;

// The user's choices of programs with definitions of their own: which program the editor
// shows and saves, the programs' modes, and adding and removing them.
class ProgramChoices {
public:
    ProgramChoices(Model& model, Dialogs& dialogs, ProgramWindows& windows)
        : model_(model), dialogs_(dialogs), windows_(windows) {}

    // The programs with a window open now, to choose one to add.
    std::vector<std::string> OpenPrograms();
    // Adds the program named by an executable's file name or full path and chooses it for the
    // editor; a name the file cannot hold is refused with a message.
    bool Add(const std::string& nameOrPath);
    // Empty: the global map ("All programs").
    void ChooseForEditor(const std::string& name);
    // The mode of the editor's program: 0 follows the current mode.
    void SetMode(std::uint8_t mode);
    // The editor's program no longer defines the editor's button: the global definition applies.
    void RemoveButton();
    // The editor's program goes with all its definitions; the editor shows the global map.
    void RemoveProgram();

private:
    void ReloadEditor();

    Model& model_;
    Dialogs& dialogs_;
    ProgramWindows& windows_;
};

}  // namespace quorvel
