#include "RemoteWindows.h"

#include <commctrl.h>

#include <algorithm>

namespace quorvel::wintool {

namespace {

constexpr UINT kAnswerTimeoutMs = 2000;
constexpr UINT kActionTimeoutMs = 1000;
constexpr std::size_t kMaxText = 4096;

bool Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result) != 0;
}

// Texts are asked for in UTF-16, which every system control keeps and Windows carries across
// processes unchanged (Wine does not convert the ANSI form of CB_GETLBTEXT for another
// process), and handed on in the ANSI code page.
bool AskText(HWND window, UINT message, WPARAM wParam, std::size_t capacity, std::string& text) {
    std::wstring wide(capacity, L'\0');
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG,
                            kAnswerTimeoutMs, &length) == 0 ||
        static_cast<LRESULT>(length) < 0) {
        return false;
    }
    wide.resize(std::min<std::size_t>(wide.find(L'\0'), capacity));
    text.assign(wide.size() * 2, '\0');
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                          static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<std::size_t>(std::max(bytes, 0)));
    return true;
}

// For messages that act: their handler may open a modal dialog and so not return until the
// dialog is closed; a handler still running after a while counts as delivered.
bool Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR ignored = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kActionTimeoutMs, &ignored) != 0) {
        return true;
    }
    return GetLastError() == ERROR_TIMEOUT && IsWindow(window);
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM found) {
    TopLevelWindow entry{window, 0, ClassOf(window), IsWindowVisible(window) != FALSE, {}};
    GetWindowThreadProcessId(window, &entry.processId);
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    entry.title = title;
    reinterpret_cast<std::vector<TopLevelWindow>*>(found)->push_back(entry);
    return TRUE;
}

struct DescendantSearch {
    int controlId;
    HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<DescendantSearch*>(search);
    if (GetDlgCtrlID(window) != wanted->controlId) {
        return TRUE;
    }
    wanted->found = window;
    return FALSE;
}

BOOL CALLBACK CollectChildren(HWND window, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(window);
    return TRUE;
}

// Memory inside another process, for control messages whose buffers Windows does not
// carry across processes.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, std::size_t bytes) : size(bytes) {
        DWORD processId = 0;
        GetWindowThreadProcessId(owner, &processId);
        process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process != nullptr) {
            address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        }
    }
    ~RemoteBuffer() {
        if (address != nullptr) {
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
        }
        if (process != nullptr) {
            CloseHandle(process);
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address != nullptr; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address); }
    LPARAM AddressAt(std::size_t offset) const { return Address() + static_cast<LPARAM>(offset); }
    bool Write(std::size_t offset, const void* data, std::size_t count) const {
        SIZE_T written = 0;
        return WriteProcessMemory(process, static_cast<char*>(address) + offset, data, count, &written) &&
               written == count;
    }
    std::optional<std::string> ReadBytes(std::size_t count, std::size_t offset = 0) const {
        std::string bytes(count, '\0');
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, static_cast<char*>(address) + offset, bytes.data(), count, &read) ||
            read != count) {
            return std::nullopt;
        }
        return bytes;
    }
    std::optional<std::string> ReadString() const {
        std::string text(size, '\0');
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, address, text.data(), size, &read)) {
            return std::nullopt;
        }
        text.resize(text.find('\0') == std::string::npos ? read : text.find('\0'));
        return text;
    }

private:
    std::size_t size;
    HANDLE process = nullptr;
    void* address = nullptr;
};

}  // namespace

std::vector<TopLevelWindow> TopLevelWindows() {
    std::vector<TopLevelWindow> found;
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindTopLevel(const std::string& className, const std::string& title) {
    for (const TopLevelWindow& entry : TopLevelWindows()) {
        if (entry.className == className && (title == "*" || entry.title == title)) {
            return entry.window;
        }
    }
    return nullptr;
}

HWND FindDescendant(HWND parent, int controlId) {
    DescendantSearch search{controlId, nullptr};
    EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChildren, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::optional<std::string> ReadText(HWND window) {
    std::string text;
    if (!AskText(window, WM_GETTEXT, kMaxText, kMaxText, text)) {
        return std::nullopt;
    }
    return text;
}

std::vector<std::string> StaticTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND child : Descendants(dialog)) {
        if (_stricmp(ClassOf(child).c_str(), "Static") != 0) {
            continue;
        }
        const std::optional<std::string> text = ReadText(child);
        if (text && !text->empty()) {
            texts.push_back(*text);
        }
    }
    return texts;
}

std::optional<std::vector<std::string>> ReadStatusParts(HWND statusBar) {
    DWORD_PTR partCount = 0;
    if (!Ask(statusBar, SB_GETPARTS, 0, 0, partCount)) {
        return std::nullopt;
    }
    std::vector<std::string> parts;
    for (WPARAM part = 0; part < partCount; ++part) {
        DWORD_PTR lengthAndType = 0;
        if (!Ask(statusBar, SB_GETTEXTLENGTHA, part, 0, lengthAndType)) {
            return std::nullopt;
        }
        RemoteBuffer buffer(statusBar, LOWORD(lengthAndType) + 1);
        DWORD_PTR ignored = 0;
        if (!buffer.Valid() || !Ask(statusBar, SB_GETTEXTA, part, buffer.Address(), ignored)) {
            return std::nullopt;
        }
        const std::optional<std::string> text = buffer.ReadString();
        if (!text) {
            return std::nullopt;
        }
        parts.push_back(*text);
    }
    return parts;
}

std::optional<ComboContents> ReadCombo(HWND combo) {
    DWORD_PTR count = 0;
    DWORD_PTR selected = 0;
    if (!Ask(combo, CB_GETCOUNT, 0, 0, count) || !Ask(combo, CB_GETCURSEL, 0, 0, selected)) {
        return std::nullopt;
    }
    ComboContents contents{static_cast<int>(static_cast<LRESULT>(selected)), {}};
    for (WPARAM index = 0; index < count; ++index) {
        DWORD_PTR length = 0;
        std::string text;
        if (SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, index, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length) == 0 ||
            static_cast<LRESULT>(length) == CB_ERR || !AskText(combo, CB_GETLBTEXT, index, length + 1, text)) {
            return std::nullopt;
        }
        contents.items.push_back(text);
    }
    return contents;
}

HWND FindOkButton(HWND dialog) {
    if (HWND byId = GetDlgItem(dialog, IDOK); byId != nullptr) {
        return byId;
    }
    for (HWND child : Descendants(dialog)) {
        if (_stricmp(ClassOf(child).c_str(), "Button") == 0 && ReadText(child).value_or("") == "OK") {
            return child;
        }
    }
    return nullptr;
}

bool Click(HWND button) {
    return Deliver(button, BM_CLICK, 0, 0);
}

// CB_SETCURSEL sends no notification, so the parent is told as a user's choice would tell it.
bool SelectComboItem(HWND combo, int index) {
    DWORD_PTR result = 0;
    if (!Ask(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, result) || static_cast<LRESULT>(result) != index) {
        return false;
    }
    const WPARAM command = MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE);
    return Deliver(GetParent(combo), WM_COMMAND, command, reinterpret_cast<LPARAM>(combo));
}

std::optional<std::vector<RECT>> ReadTabRects(HWND tabs) {
    DWORD_PTR count = 0;
    if (!Ask(tabs, TCM_GETITEMCOUNT, 0, 0, count)) {
        return std::nullopt;
    }
    RemoteBuffer buffer(tabs, sizeof(RECT));
    std::vector<RECT> rects;
    for (WPARAM index = 0; index < count; ++index) {
        DWORD_PTR found = 0;
        if (!buffer.Valid() || !Ask(tabs, TCM_GETITEMRECT, index, buffer.Address(), found) || !found) {
            return std::nullopt;
        }
        const std::optional<std::string> bytes = buffer.ReadBytes(sizeof(RECT));
        if (!bytes) {
            return std::nullopt;
        }
        RECT rect;
        std::copy(bytes->begin(), bytes->end(), reinterpret_cast<char*>(&rect));
        MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        rects.push_back(rect);
    }
    return rects;
}

namespace {

std::optional<std::string> ReadWide(const RemoteBuffer& buffer, std::size_t offset, std::size_t chars) {
    const std::optional<std::string> bytes = buffer.ReadBytes(chars * sizeof(wchar_t), offset);
    if (!bytes) {
        return std::nullopt;
    }
    std::wstring wide(chars, L'\0');
    std::copy(bytes->begin(), bytes->end(), reinterpret_cast<char*>(wide.data()));
    wide.resize(wide.find(L'\0'));
    std::string text(wide.size() * 2 + 1, '\0');
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                           static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return text;
}

}  // namespace

std::optional<Tool> ReadTool(HWND tooltip, int index) {
    constexpr std::size_t kChars = 1024;
    constexpr std::size_t kTextAt = sizeof(TTTOOLINFOW);
    RemoteBuffer buffer(tooltip, kTextAt + kChars * sizeof(wchar_t));
    if (!buffer.Valid()) {
        return std::nullopt;
    }
    const std::wstring empty(kChars, L'\0');
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = reinterpret_cast<WCHAR*>(buffer.AddressAt(kTextAt));
    DWORD_PTR found = 0;
    if (!buffer.Write(kTextAt, empty.data(), empty.size() * sizeof(wchar_t)) || !buffer.Write(0, &tool, sizeof tool) ||
        !Ask(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(index), buffer.Address(), found) || !found) {
        return std::nullopt;
    }
    const std::optional<std::string> filled = buffer.ReadBytes(sizeof tool);
    std::optional<std::string> text = ReadWide(buffer, kTextAt, kChars);
    if (!filled || !text) {
        return std::nullopt;
    }
    std::copy(filled->begin(), filled->end(), reinterpret_cast<char*>(&tool));
    return Tool{tool.uId, *text};
}

std::optional<std::string> ReadToolText(HWND tooltip) {
    const std::optional<Tool> tool = ReadTool(tooltip, 0);
    return tool ? std::optional<std::string>(tool->text) : std::nullopt;
}

}  // namespace quorvel::wintool
