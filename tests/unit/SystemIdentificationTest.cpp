#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeLibraries.h"
#include "fakes/FakeSystemInfo.h"
#include "engine/SystemIdentification.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kNt = 2;
constexpr std::uint8_t kWorkstation = 1;
constexpr std::uint8_t kServer = 3;
constexpr std::uint16_t kAmd64 = 9;
constexpr std::uint16_t kIntel = 0;
constexpr std::uint16_t kItanium = 6;

class SystemIdentificationTest : public ::testing::Test {
protected:
    SystemIdentificationTest() {
        FakeKernel32State::Reset();
        AddFakeKernel32(libraries);
    }

    static void Report(std::uint32_t platform, std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                       std::uint8_t productType, std::uint16_t architecture) {
        OsVersionRecord& version = FakeKernel32State::Get().version;
        version.platformId = platform;
        version.majorVersion = major;
        version.minorVersion = minor;
        version.buildNumber = build;
        version.productType = productType;
        FakeKernel32State::Get().processorArchitecture = architecture;
    }

    FakeLibraries libraries;
    FakeSystemInfo system;
    SystemIdentification identification{libraries, system};
};

TEST_F(SystemIdentificationTest, NamesEveryKnownVersionWithItsNumbersAndArchitecture) {
    struct Case {
        std::uint32_t major, minor, build;
        std::uint8_t productType;
        std::uint16_t architecture;
        const char* text;
    };
    const Case cases[] = {
        {6, 1, 7601, kWorkstation, kAmd64, "Windows 7 6.1.7601  x64"},
        {5, 1, 2600, kWorkstation, kIntel, "Windows XP 5.1.2600  x86"},
        {6, 2, 9200, kServer, kAmd64, " Windows Server 8 6.2.9200  x64"},
        {6, 3, 9600, kWorkstation, kAmd64, " 6.3.9600  x64"},
        {5, 2, 3790, kServer, kIntel, "Windows 2003 5.2.3790  x86"},
        {5, 2, 3790, kWorkstation, kAmd64, "Windows XP 5.2.3790  x64"},
        {5, 0, 2195, kWorkstation, kIntel, "Windows 2000 5.0.2195  x86"},
        {5, 0, 2195, kServer, kIntel, "Windows 2000 5.0.2195  x86"},
        {5, 1, 2600, 2, kIntel, "Windows XP 5.1.2600  x86"},
        {6, 0, 6002, kWorkstation, kIntel, "Windows Vista 6.0.6002  x86"},
        {6, 0, 6002, 2, kAmd64, "Windows Server 2008 6.0.6002  x64"},
        {6, 1, 7601, kServer, kAmd64, "Windows Server 2008 R2 6.1.7601  x64"},
        {6, 2, 9200, kWorkstation, kIntel, " Windows 8 6.2.9200  x86"},
        {6, 1, 7601, kWorkstation, kItanium, "Windows 7 6.1.7601  x86"},
        {10, 0, 19045, kWorkstation, kAmd64, " 10.0.19045  x64"},
    };
    for (const Case& c : cases) {
        FakeKernel32State::Reset();
        Report(kNt, c.major, c.minor, c.build, c.productType, c.architecture);
        SystemIdentification fresh(libraries, system);
        EXPECT_EQ(fresh.GetOSName(), c.text);
        EXPECT_EQ(fresh.OsMajorVersion(), c.major);
        EXPECT_TRUE(fresh.IsSupported()) << c.text;
        EXPECT_EQ(FakeKernel32State::Get().sizesSeen, std::vector<std::uint32_t>{156}) << c.text;
        fresh.FreeSystemLibrary();
    }
}

TEST_F(SystemIdentificationTest, OnlyNtFromVersionFiveIsSupported) {
    struct Case {
        std::uint32_t platform, major, minor;
        const char* text;
        bool supported;
    };
    const Case cases[] = {
        {kNt, 4, 0, " 4.0.1381  x86", false},
        {1, 4, 10, " x86", false},
        {0, 5, 1, " x86", false},
        {kNt, 5, 0, "Windows 2000 5.0.1381  x86", true},
    };
    for (const Case& c : cases) {
        Report(c.platform, c.major, c.minor, 1381, kWorkstation, kIntel);
        SystemIdentification fresh(libraries, system);
        EXPECT_EQ(fresh.GetOSName(), c.text);
        EXPECT_EQ(fresh.IsSupported(), c.supported) << c.text;
        fresh.FreeSystemLibrary();
    }
}

TEST_F(SystemIdentificationTest, WithoutKernel32TheRecordStaysZeroAndTheProgramMustEnd) {
    FakeLibraries none;
    SystemIdentification withoutKernel32(none, system);
    EXPECT_EQ(withoutKernel32.GetOSName(), " x86");
    EXPECT_EQ(withoutKernel32.OsMajorVersion(), 0u);
    EXPECT_FALSE(withoutKernel32.IsSupported());
    withoutKernel32.FreeSystemLibrary();
    EXPECT_EQ(none.calls, std::vector<std::string>{"Load kernel32.dll"});
}

TEST_F(SystemIdentificationTest, MissingExportsLeaveTheirPartOut) {
    Report(kNt, 6, 1, 7601, kWorkstation, kAmd64);
    libraries.RemoveExport("kernel32.dll", "GetVersionExA");
    EXPECT_EQ(identification.GetOSName(), " x64");
    EXPECT_FALSE(identification.IsSupported());

    FakeLibraries windows2000;
    AddFakeKernel32(windows2000);
    windows2000.RemoveExport("kernel32.dll", "GetNativeSystemInfo");
    Report(kNt, 5, 0, 2195, kWorkstation, kAmd64);
    SystemIdentification old(windows2000, system);
    EXPECT_EQ(old.GetOSName(), "Windows 2000 5.0.2195  x86");
    old.FreeSystemLibrary();
}

TEST_F(SystemIdentificationTest, Kernel32StaysLoadedUntilFreedOnce) {
    identification.GetOSName();
    EXPECT_TRUE(libraries.IsLoaded("kernel32.dll"));
    identification.FreeSystemLibrary();
    identification.FreeSystemLibrary();
    EXPECT_EQ(libraries.calls, (std::vector<std::string>{"Load kernel32.dll", "Free kernel32.dll"}));
}

TEST_F(SystemIdentificationTest, VersionComesFromTheFirstTranslationsStringTable) {
    system.SetVersionResource(0x0419, 0x04E3, "0.1.0.1");
    EXPECT_EQ(identification.GetFileVersionString(), "0.1.0.1");
    EXPECT_EQ(system.queries,
              (std::vector<std::string>{"\\VarFileInfo\\Translation", "\\StringFileInfo\\041904E3\\FileVersion"}));

    system.SetVersionResource(0x0409, 0x04B0, "2.10.0.355");
    EXPECT_EQ(identification.GetFileVersionString(), "2.10.0.355");
}

TEST_F(SystemIdentificationTest, VersionIsEmptyWhenAnyPartOfTheResourceIsMissing) {
    const auto versionWith = [this](auto breakIt) {
        FakeSystemInfo broken;
        broken.SetVersionResource(0x0419, 0x04E3, "0.1.0.1");
        breakIt(broken);
        return SystemIdentification(libraries, broken).GetFileVersionString();
    };
    EXPECT_EQ(versionWith([](FakeSystemInfo& s) { s.hasVersionResource = false; }), "");
    EXPECT_EQ(versionWith([](FakeSystemInfo& s) { s.readFails = true; }), "");
    EXPECT_EQ(versionWith([](FakeSystemInfo& s) { s.versionValues.erase("\\varfileinfo\\translation"); }), "");
    EXPECT_EQ(versionWith([](FakeSystemInfo& s) { s.versionValues["\\varfileinfo\\translation"] = "\x19\x04"; }),
              "");
    EXPECT_EQ(versionWith([](FakeSystemInfo& s) { s.versionValues.erase("\\stringfileinfo\\041904e3\\fileversion"); }),
              "");
}

}  // namespace
}  // namespace quorvel
