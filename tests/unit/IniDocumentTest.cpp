#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeProfileFile.h"
#include "settings/IniDocument.h"

namespace quorvel {
namespace {

using namespace std::string_literals;
using Names = std::vector<std::string>;

FakeProfileFile codePage;

TEST(IniDocument, ReadsAsTheProfileFunctionsDo) {
    const IniDocument file(
        "top=1\n[S]\r\n; note\n  key = 'quoted' \n[broken\nzero=a\0b\n\n[T]x]\nk=\"\"\"\rlast=\"\"\n"
        "[ spaced ]\nq=\"x\n[s]\nkey=second section\n[S]\nKEY=duplicate\nkey=again\n=nameless\n\x1a"s,
        codePage);
    EXPECT_EQ(file.SectionNames(), (Names{"S", "T]x", "spaced", "s", "S"}));
    EXPECT_EQ(file.Keys("s"), (Names{"key", "zero"}));
    EXPECT_EQ(file.Keys("Missing"), Names{});
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"S", "KEY", "quoted"},  {"S", "zero", "a"},        {"S", "[broken", std::nullopt},
        {"S", "; note", std::nullopt}, {"T]x", "k", "\""},  {"T]x", "last", ""},
        {"spaced", "q", "\"x"},       {"S", "missing", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(file.Value(c.section, c.key), c.value) << c.section << ' ' << c.key;
    EXPECT_TRUE(file.HasSection("t]X"));
    EXPECT_FALSE(file.HasSection("top"));
}

TEST(IniDocument, ChangesOnlyTheLinesItWritesAndAddsKeysAfterTheirSectionsLastLine) {
    const std::string text = "; by hand\r\n[A]\r\nk = v ; same\r\nold=1\r\n\r\n[B]\nx=1\n; tail\n\n[C]\nz=1";
    IniDocument file(text, codePage);
    EXPECT_EQ(file.Bytes(), text);
    file.Set("a", "K", "v ; same");
    file.Set("A", "old", "  2");
    file.Set("A", "new", "3");
    file.Set("B", "y", "4");
    file.Set("C", "w", "5");
    file.Set("D", "d", "6");
    EXPECT_EQ(file.Bytes(),
              "; by hand\r\n[A]\r\nk = v ; same\r\nold=2\r\nnew=3\r\n\r\n[B]\nx=1\n; tail\ny=4\r\n\n[C]\nz=1\r\nw=5\r\n"
              "[D]\r\nd=6\r\n");
    EXPECT_EQ(file.Keys("A"), (Names{"k", "old", "new"}));
    EXPECT_EQ(file.Value("d", "D"), "6");
}

TEST(IniDocument, ErasesEveryLineOfAKeyAndEverySectionOfAName) {
    IniDocument file("[A]\nk=1\nK=2\nj=3\n[B]\n; b's\nb=1\n\n[a]\nk=4\n[C]\nc=1\n", codePage);
    file.EraseKey("A", "k");
    EXPECT_EQ(file.Keys("A"), Names{"j"});
    file.EraseSection("b");
    file.Set("B", "b", "2");
    EXPECT_EQ(file.Bytes(), "[A]\nj=3\n[a]\nk=4\n[C]\nc=1\n[B]\r\nb=2\r\n");
    file.EraseSection("A");
    EXPECT_EQ(file.SectionNames(), (Names{"C", "B"}));
    EXPECT_EQ(file.Bytes(), "[C]\nc=1\n[B]\r\nb=2\r\n");
}

// "[Ä]\r\nk=é\r\nw=ŭ\r\n" with the byte-order mark, and a last byte that makes no character.
const std::string kUtf16 = "\xFF\xFE[\0\xC4\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0w\0=\0\x6D\x01\r\0\n\0!"s;

TEST(IniDocument, ReadsUtf16InTheCodePageAndWritesItBackAsUtf16) {
    IniDocument file(kUtf16, codePage);
    EXPECT_EQ(file.SectionNames(), Names{"\xC4"});
    EXPECT_EQ(file.Value("\xC4", "k"), "\xE9");
    EXPECT_EQ(file.Value("\xC4", "w"), "?");
    EXPECT_EQ(file.Bytes(), kUtf16);
    file.Set("\xC4", "k", "\xEA");
    file.Set("\xC4", "w", "?");
    EXPECT_EQ(file.Bytes(), "\xFF\xFE[\0\xC4\0]\0\r\0\n\0k\0=\0\xEA\0\r\0\n\0w\0=\0\x6D\x01\r\0\n\0!"s)
        << "a line the save leaves alone keeps what the code page lacks";
}

}  // namespace
}  // namespace quorvel
