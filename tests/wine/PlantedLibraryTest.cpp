// Stand-ins for libraries that the system's window, message box and file dialog code loads by name,
// planted beside a copy of tarvolen.exe, with Wine told to prefer such a file to its own, as Windows
// does for every library that is not one of its KnownDLLs. Each leaves a marker when it is loaded; the
// program must load none of them, whatever it shows.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/wine/DeletionDialog.h"
#include "tests/wine/WinTestSupport.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::wintest {
namespace {

// Loaded by name after start-up by Wine's window, box and dialog code (Wine 8 and 10), and those the
// program loads itself (the libraries of its table of bound functions). Left out: imm32, which user32
// loads before the program's first statement (and Windows only ever takes from its system folder): it
// is not the program's to govern.
constexpr const wchar_t* kPlantedNames[] = {L"uxtheme.dll",  L"comctl32.dll", L"shcore.dll",  L"compstui.dll",
                                            L"winspool.drv", L"msimg32.dll",  L"shell32.dll", L"comdlg32.dll",
                                            L"advapi32.dll", L"rstrtmgr.dll"};

class PlantedLibraries : public ::testing::Test {
protected:
    PlantedLibraries() {
        const std::wstring built = BuildFolder();
        Copy(built + L"\\tarvolen.exe", folder / L"tarvolen.exe");
        for (const wchar_t* name : kPlantedNames) {
            Copy(built + L"\\planted_library.dll", folder / name);
        }
    }

    static void Copy(const std::wstring& from, const std::wstring& to) {
        if (!::CopyFileW(from.c_str(), to.c_str(), FALSE)) {
            throw std::runtime_error("cannot copy a file into the test folder");
        }
    }

    // The copy beside the stand-ins, with Wine preferring a library file found on the search path to
    // its own for every planted name.
    Process Start(const std::wstring& argumentText) {
        // Wine names a library by its file name, without the extension when that is ".dll".
        std::wstring overrides = L"WINEDLLOVERRIDES=";
        for (const std::wstring_view name : kPlantedNames) {
            overrides += std::wstring(overrides.back() == L'=' ? L"" : L",") +
                         std::wstring(name.ends_with(L".dll") ? name.substr(0, name.size() - 4) : name);
        }
        overrides += L"=n,b";
        std::wstring environment;
        wchar_t* const own = ::GetEnvironmentStringsW();
        for (const wchar_t* entry = own; *entry != L'\0'; entry += std::wstring_view(entry).size() + 1) {
            if (std::wstring_view(entry).rfind(L"WINEDLLOVERRIDES=", 0) != 0) {
                environment.append(entry).push_back(L'\0');
            }
        }
        ::FreeEnvironmentStringsW(own);
        environment.append(overrides).push_back(L'\0');
        return StartTarvolen(argumentText, folder / L"tarvolen.exe", environment + L'\0');
    }

    // The planted names that were loaded, by their markers.
    std::vector<std::wstring> Loaded() const {
        std::vector<std::wstring> loaded;
        for (const auto& [name, contents] : folder.Snapshot()) {
            if (name.ends_with(L".loaded")) {
                loaded.push_back(name.substr(0, name.size() - 7));
            }
        }
        return loaded;
    }

    TempFolder folder;
};

TEST_F(PlantedLibraries, WindowModeWithTheFileDialogLoadsNone) {
    {
        ReplacerDriver driver(Start(L""));
        driver.Click(kCmdBrowse0);
        const HWND dialog = WaitForWindow(driver.Program().Id(), L"#32770", 30s);
        EXPECT_NE(dialog, nullptr) << "no file dialog opened";
        // Ready once the dialog shows the files of a folder: by then it has loaded what it needs.
        EXPECT_TRUE(
            WaitFor([&] { return ::FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr); }, 30s))
            << "the file dialog never showed a folder";
        PressButton(dialog, IDCANCEL);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }, 30s)) << "Cancel did not close the dialog";
    }
    EXPECT_EQ(Loaded(), std::vector<std::wstring>{});
}

TEST_F(PlantedLibraries, DeletionModeAnsweredNoLoadsNone) {
    WriteFileBytes(folder / L"keep.txt", "keep");
    {
        Process program = Start(folder / L"keep.txt");
        const MessageBoxView box = NextBox(program);
        ExpectConfirmation(box, folder / L"keep.txt");
        PressButton(box.window, IDNO);
        EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    }
    EXPECT_EQ(ReadFileBytes(folder / L"keep.txt"), "keep");
    EXPECT_EQ(Loaded(), std::vector<std::wstring>{});
}

// A file in use, read-only and with a second name, so that it is not left for the restart: the
// program asks the Restart Manager who holds it, from the system folder.
TEST_F(PlantedLibraries, DeletionModeWithAFileInUseLoadsNone) {
    WriteFileBytes(folder / L"held.txt", "held");
    ASSERT_TRUE(::CreateHardLinkW((folder / L"second.txt").c_str(), (folder / L"held.txt").c_str(), nullptr));
    SetReadOnly(folder / L"held.txt", true);
    {
        FileHolder holder(folder / L"held.txt");
        Process program = Start(folder / L"held.txt");
        const MessageBoxView box = AnswerYes(program, folder / L"held.txt");
        EXPECT_EQ(box.title, L"Fehler");
        EXPECT_TRUE(HasModuleLoaded(program.Handle(), L"rstrtmgr.dll"));
        PressButton(box.window, IDOK);
        EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    }
    SetReadOnly(folder / L"held.txt", false);
    EXPECT_EQ(Loaded(), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace tarvolen::wintest
