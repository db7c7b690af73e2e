#include <gtest/gtest.h>

#include "actions/Macro.h"
#include "actions/MacroLines.h"
#include "fakes/FakeProfileFile.h"

namespace quorvel {
namespace {

TEST(MacroLines, LinesJoinIntoStepsThatSplitBackAtSemicolonsOutsideQuotes) {
    EXPECT_EQ(MacroFromLines("  Hold Shift\r\n\r\na ;Release Shift\n \t\n\"x; \"\"y\"\"\"\r\n"),
              "Hold Shift; a ;Release Shift; \"x; \"\"y\"\"\"");
    EXPECT_EQ(MacroFromLines("\r\n  \n"), "");
    EXPECT_EQ(MacroStepTexts("Hold Shift; a ;Release Shift;; \"x; \"\"y\"\"\""),
              (std::vector<std::string>{"Hold Shift", "a", "Release Shift", "\"x; \"\"y\"\"\""}));
}

TEST(MacroLines, SummaryNamesTheFirstStepShortenedAndCountsTheSteps) {
    EXPECT_EQ(MacroSummary(" ; "), "");
    EXPECT_EQ(MacroSummary("F5;"), "Macro: F5 (1 step)");
    EXPECT_EQ(MacroSummary("Run \"C:\\Program Files\\VideoLAN\\VLC\\vlc.exe\"; Wait 3000; F"),
              "Macro: Run \"C:\\Program Files\\VideoLA... ... (3 steps)");
}

TEST(MacroLines, CharactersTheCodePageLacksAreEscapedAndReadBack) {
    FakeProfileFile codePage;
    const std::u16string typed = u"\"\u00e9\u0416\U0001F600{U+41}\"";
    const std::string stored = EscapedAnsi(typed, codePage);
    EXPECT_EQ(stored, "\"\xe9{U+0416}{U+1F600}{U+41}\"");
    EXPECT_EQ(UnescapedText(stored, codePage), typed);
    // Escapes the code page could hold, and malformed ones, read as they are written.
    EXPECT_EQ(UnescapedText("{U+00E9}{u+416}{U+D800}{U+}", codePage), u"{U+00E9}\u0416{U+D800}{U+}");
}

}  // namespace
}  // namespace quorvel
