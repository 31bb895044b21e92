#pragma once
// A Restart Manager that names the holders of a file, in place of Wine's, which names none.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/win32/Files.h"
#include "tests/wine/WinTestSupport.h"

namespace tarvolen::wintest {

// The stand-in Restart Manager (standin_rstrtmgr.dll) in the system folder in place of Wine's, which
// names no process, for the life of the object. It names the asking program and the test that started
// it as holding every file; the names it is asked about go to the file `asked`, a line each, and a line
// for each call made with WoW64 redirection off, which it tells by the marker put beside it.
class StandInRestartManager {
public:
    explicit StandInRestartManager(const std::wstring& asked) {
        if (!::CopyFileW(library_.Path().c_str(), marker_.c_str(), FALSE)) {
            throw std::runtime_error("cannot put the stand-in Restart Manager's marker beside it");
        }
        ::SetEnvironmentVariableW(L"TARVOLEN_TEST_RM_ASKED", asked.c_str());
    }
    ~StandInRestartManager() {
        ::SetEnvironmentVariableW(L"TARVOLEN_TEST_RM_ASKED", nullptr);
        ::DeleteFileW(marker_.c_str());
    }
    StandInRestartManager(const StandInRestartManager&) = delete;
    StandInRestartManager& operator=(const StandInRestartManager&) = delete;

    // The line the box shows below its text: the test, named by its program file (or as `named`), and
    // not the program.
    static std::wstring HoldersLine(std::wstring named = {}) {
        std::wstring self(MAX_PATH, L'\0');
        self.resize(::GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
        named = named.empty() ? self.substr(self.find_last_of(L'\\') + 1) : named;
        return L"Die Datei wird verwendet von: \u201e" + named + L"\u201c (" +
               std::to_wstring(::GetCurrentProcessId()) + L").";
    }

    // Whether the file `asked` holds `expected` (lines of names, letter case aside) and nothing more.
    static ::testing::AssertionResult WasAsked(const std::wstring& asked, const std::wstring& expected) {
        const std::string bytes = ReadFileBytes(asked);
        const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()),
                                bytes.size() / sizeof(wchar_t));
        if (win32::SameNames(text, expected)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "asked:\n" << text;
    }

private:
    // In a 32-bit test, redirection takes both to SysWOW64, where the 32-bit program loads from.
    const StandInLibrary library_{L"rstrtmgr.dll", L"standin_rstrtmgr.dll"};
    const std::wstring marker_ =
        library_.Path().substr(0, library_.Path().find_last_of(L'\\')) + L"\\rstrtmgr-standin.marker";
};

}  // namespace tarvolen::wintest
