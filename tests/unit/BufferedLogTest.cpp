#include "core/BufferedLog.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace quorvel {
namespace {

// Files in memory. Append can be held up, as a slow disk holds up the writer.
class FakeLogFiles final : public LogFiles {
public:
    std::vector<std::string> debugged;
    std::vector<std::string> files{""};  // the older files, then the current one

    void Debug(const std::string& line) override { debugged.push_back(line); }
    std::string Timestamp() override { return "T"; }
    std::uint64_t Size() override { return files.back().size(); }
    bool Append(const std::string& text) override {
        std::unique_lock lock(gateLock_);
        ++waiting_;
        gateChanged_.notify_all();
        gateChanged_.wait(lock, [this] { return open_; });
        --waiting_;
        files.back() += text;
        return true;
    }
    void StartNewFile() override { files.push_back(""); }

    void HoldAppends(bool held) {
        {
            std::lock_guard lock(gateLock_);
            open_ = !held;
        }
        gateChanged_.notify_all();
    }

    void WaitUntilAnAppendIsHeld() {
        std::unique_lock lock(gateLock_);
        gateChanged_.wait(lock, [this] { return waiting_ > 0; });
    }

private:
    int waiting_ = 0;
    std::mutex gateLock_;
    std::condition_variable gateChanged_;
    bool open_ = true;
};

TEST(BufferedLog, EveryLineReachesTheDebuggerAndTheFileByTheEnd) {
    FakeLogFiles files;
    {
        BufferedLog log(files);
        log.Write("started");
        log.Write("saved");
    }
    EXPECT_EQ(files.debugged, (std::vector<std::string>{"T started\r\n", "T saved\r\n"}));
    EXPECT_EQ(files.files, std::vector<std::string>{"T started\r\nT saved\r\n"});
}

TEST(BufferedLog, AFullFileIsKeptAsTheOlderOneAndANewOneBegins) {
    FakeLogFiles files;
    const std::string line(1000, 'x');
    const std::size_t linesPerFile = BufferedLog::kMaxFileBytes / (line.size() + 4);
    {
        BufferedLog log(files);
        for (std::size_t i = 0; i < linesPerFile + 1; ++i) log.Write(line);
    }
    ASSERT_EQ(files.files.size(), 2u);
    EXPECT_EQ(files.files[0].size(), linesPerFile * (line.size() + 4));
    EXPECT_EQ(files.files[1], "T " + line + "\r\n");
}

TEST(BufferedLog, ASlowDiskCostsLinesNotWaitsAndTheLossIsNoted) {
    FakeLogFiles files;
    {
        BufferedLog log(files);
        files.HoldAppends(true);
        log.Write("first");
        files.WaitUntilAnAppendIsHeld();
        // The writer stays in Append with the first line; of the rest, those beyond the limit go.
        for (std::size_t i = 0; i < BufferedLog::kMaxPendingLines + 11; ++i) log.Write("line");
        files.HoldAppends(false);
    }
    const std::string& file = files.files.back();
    EXPECT_EQ(files.debugged.size(), BufferedLog::kMaxPendingLines + 12);
    const std::string note = "T line\r\nT 11 lines were dropped: the disk was too slow\r\n";
    EXPECT_EQ(file.size(), 9 + 8 * BufferedLog::kMaxPendingLines + note.size() - 8);
    EXPECT_EQ(file.substr(file.size() - note.size()), note);
}

}  // namespace
}  // namespace quorvel
