// The name a removal at the restart is recorded under: one that still means the file at boot.
#include <gtest/gtest.h>

#include "platform/RemovalRules.h"

namespace tarvolen {
namespace {

constexpr std::wstring_view kGuidPath =
    L"\\\\?\\Volume{3f1e2a6c-0b1d-4c5e-9a7f-2d8c6b4e1a90}\\d\\report.pdf ";

TEST(RestartNameTest, TheFinalPathWithTheVolumeGuidIsRecorded) {
    EXPECT_EQ(RestartNameFor(kGuidPath, L"\\\\?\\S:\\report.pdf ").name, kGuidPath);
    // A volume without a GUID name (or one that does not lead to the file) falls back to its drive.
    const RestartName drive = RestartNameFor(L"", L"\\\\?\\c:\\d\\busy.dll");
    EXPECT_EQ(drive.name, L"\\\\?\\c:\\d\\busy.dll");
    EXPECT_TRUE(drive.refusal.empty());
}

TEST(RestartNameTest, NetworkFilesAndPathsWithoutALastingNameAreRefused) {
    struct Case {
        std::wstring_view guidPath, dosPath, refusal;
    };
    const Case cases[] = {
        {L"", L"\\\\?\\UNC\\server\\share\\busy.dll", removal_reason::kNetwork},
        {L"", L"\\\\?\\unc\\server\\share\\busy.dll", removal_reason::kNetwork},
        {kGuidPath, L"\\\\?\\UNC\\server\\share\\busy.dll", removal_reason::kNetwork},
        {L"", L"", removal_reason::kNoLastingName},
        {L"", L"\\\\?\\GLOBALROOT\\Device\\RamDisk\\busy.dll", removal_reason::kNoLastingName},
        {L"\\Device\\HarddiskVolume3\\busy.dll", L"\\\\?\\1:\\busy.dll", removal_reason::kNoLastingName},
    };
    for (const Case& c : cases) {
        const RestartName result = RestartNameFor(c.guidPath, c.dosPath);
        EXPECT_EQ(result.name, L"") << std::wstring(c.dosPath);
        EXPECT_EQ(result.refusal, c.refusal) << std::wstring(c.dosPath);
    }
}

}  // namespace
}  // namespace tarvolen
