// The "Programs" group: the program whose definitions the editor shows and saves, its mode,
// adding and removing programs, and whether the editor's button has a definition there.
#include "ui/MainWindow_win.h"

#include <commctrl.h>

#include "engine/Application.h"
#include "ui/ControlIds.h"

namespace quorvel {
namespace {

namespace id = control_id;

constexpr const char* kAllPrograms = "All programs";
// Only an executable owns windows; a command file's window belongs to the console.
constexpr wchar_t kProgramFilter[] = L"Programs\0*.exe\0";
const std::vector<std::string> kProgramModes = {"Current mode", "WinLIRC only", "Keys", "Mouse", "Messages"};

constexpr ControlHint kHints[] = {
    {id::ProgramCB, "The program whose button definitions the editor shows and saves"},
    {id::ProgramModeCB, "The mode of presses while this program is in front"},
    {id::ProgramAddE, "A program's file name, such as vlc.exe; the list has the programs with windows open"},
    {id::ProgramAddB, "Add the program named on the left"},
    {id::ProgramBrowseB, "Browse for a program to add"},
    {id::ProgramDefinitionL, "Whether the program has its own definition of the editor's button"},
    {id::ProgramUseGlobalB, "Remove the program's own definition of this button: the global one applies"},
    {id::ProgramRemoveB, "Remove the program with all its definitions"},
};

}  // namespace

bool MainWindow::OnProgramsCommand(int controlId, int code) {
    ProgramChoices& programs = app_->Programs();
    const bool clicked = code == BN_CLICKED;
    switch (controlId) {
        case id::ProgramCB:
            if (code == CBN_SELCHANGE) {
                const int index = ChoiceOf(id::ProgramCB);
                const auto& known = app_->State().map.Programs();
                programs.ChooseForEditor(index > 0 && index <= static_cast<int>(known.size())
                                             ? known[static_cast<std::size_t>(index - 1)].name
                                             : std::string());
            }
            return true;
        case id::ProgramModeCB:
            if (code == CBN_SELCHANGE && ChoiceOf(id::ProgramModeCB) >= 0) {
                programs.SetMode(static_cast<std::uint8_t>(ChoiceOf(id::ProgramModeCB)));
            }
            return true;
        case id::ProgramAddE:
            // The list offers the programs open now, read when it drops down.
            if (code == CBN_DROPDOWN) {
                const std::string typed = TextOf(id::ProgramAddE);
                SetItems(id::ProgramAddE, programs.OpenPrograms());
                SetWindowTextA(Control(id::ProgramAddE), typed.c_str());
            }
            return true;
        case id::ProgramAddB:
            if (clicked && programs.Add(TextOf(id::ProgramAddE))) SetWindowTextA(Control(id::ProgramAddE), "");
            return true;
        case id::ProgramBrowseB:
            if (clicked) {
                if (const auto chosen = ChooseFile({}, "Select program", kProgramFilter)) programs.Add(*chosen);
            }
            return true;
        case id::ProgramUseGlobalB:
            if (clicked) programs.RemoveButton();
            return true;
        case id::ProgramRemoveB:
            if (clicked) programs.RemoveProgram();
            return true;
        default: return false;
    }
}

void MainWindow::ShowPrograms() {
    const Model& model = app_->State();
    std::vector<std::string> names = {kAllPrograms};
    int chosen = 0;
    std::uint8_t mode = 0;
    for (const ProgramMap& program : model.map.Programs()) {
        if (program.name == model.editorProgram) chosen = static_cast<int>(names.size()), mode = program.mode;
        names.push_back(program.name);
    }
    SetItems(id::ProgramCB, names);
    SetChoice(id::ProgramCB, chosen);
    SetItems(id::ProgramModeCB, kProgramModes);
    SetChoice(id::ProgramModeCB, chosen > 0 ? mode : -1);
    EnableWindow(Control(id::ProgramModeCB), chosen > 0);
    EnableWindow(Control(id::ProgramRemoveB), chosen > 0);
    ShowProgramDefinition();
}

void MainWindow::ShowProgramDefinition() {
    const Model& model = app_->State();
    const bool programChosen = !model.editorProgram.empty();
    const bool buttonRead = model.editor.extendedCode.has_value();
    std::string text;
    if (programChosen && buttonRead) text = model.editor.ownDefinition ? "Own definition" : "Uses global";
    SetText(id::ProgramDefinitionL, text);
    EnableWindow(Control(id::ProgramUseGlobalB), programChosen && model.editor.ownDefinition);
}

void MainWindow::AddProgramHints() { AddControlHints(kHints); }

}  // namespace quorvel
