#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/ProgramWindows.h"

namespace quorvel {

// Top-level windows in Z order, the first on top, with the processes they belong to and those
// of them that run with higher rights. Counts the image names and rights asked for.
class FakeProgramWindows final : public ProgramWindows {
public:
    std::vector<WindowHandle> zOrder;
    std::map<WindowHandle, WindowFacts> facts;
    std::map<WindowHandle, std::vector<WindowHandle>> children;
    std::map<std::uint32_t, std::string> imagePaths;
    std::set<std::uint32_t> higherRights;
    int imagePathsAsked = 0;
    int rightsAsked = 0;

    // A visible window of the program's process (one process per image path) on top of the others.
    WindowHandle AddWindow(const std::string& imagePath, const std::string& className = "Window") {
        std::uint32_t process = 0;
        for (const auto& [id, path] : imagePaths) {
            if (path == imagePath) process = id;
        }
        if (process == 0) {
            process = static_cast<std::uint32_t>(imagePaths.size() + 1) * 4;
            imagePaths[process] = imagePath;
        }
        const WindowHandle window{0x1000 + facts.size()};
        facts[window] = {className, process, true, false, false};
        zOrder.insert(zOrder.begin(), window);
        return window;
    }

    WindowHandle TopWindow() override { return zOrder.empty() ? kNoWindow : zOrder.front(); }
    WindowHandle WindowBelow(WindowHandle window) override {
        for (std::size_t i = 0; i + 1 < zOrder.size(); ++i) {
            if (zOrder[i] == window) return zOrder[i + 1];
        }
        return kNoWindow;
    }
    WindowFacts Facts(WindowHandle window) override {
        const auto found = facts.find(window);
        return found == facts.end() ? WindowFacts{} : found->second;
    }
    std::vector<WindowHandle> ChildWindows(WindowHandle window) override { return children[window]; }
    std::string ProcessImagePath(std::uint32_t processId) override {
        ++imagePathsAsked;
        const auto found = imagePaths.find(processId);
        return found == imagePaths.end() ? std::string() : found->second;
    }
    bool RunsWithHigherRights(std::uint32_t processId) override {
        ++rightsAsked;
        return higherRights.count(processId) != 0;
    }
};

}  // namespace quorvel
