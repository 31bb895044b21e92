#include <stdexcept>
#include <string>

#include "platform/win32/Win32Platform.h"

namespace tarvolen::win32 {

std::wstring Win32CommandLine::ArgumentText() const { return ArgumentTextOf(::GetCommandLineW()); }

int Win32MessageBox::Show(std::wstring_view text, unsigned style, std::optional<std::wstring_view> title) {
    const std::wstring ownText(text);
    const std::wstring ownTitle(title.value_or(kApplicationTitle));
    return ::MessageBoxW(owner_, ownText.c_str(), ownTitle.c_str(), style);
}

namespace {

// A function of kernel32, which is in every process and stays loaded, so the module handle needs no
// release; null when this Windows lacks it.
template <class Function>
Function Kernel32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

void RestrictLibrarySearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        Kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE) {
        return;
    }
    // Without it, at least the current folder leaves the search.
    ::SetDllDirectoryW(L"");
}

bool Wow64Redirection::Disable(void*& previous) {
#if defined(_WIN64)
    (void)previous;
    return false;
#else
    if (!lookedUp_) {
        disable_ = Kernel32Function<DisableFunction>("Wow64DisableWow64FsRedirection");
        revert_ = Kernel32Function<RevertFunction>("Wow64RevertWow64FsRedirection");
        lookedUp_ = true;
    }
    // Outside WoW64 the call fails and there is nothing to put back.
    return disable_ != nullptr && revert_ != nullptr && disable_(&previous) != FALSE;
#endif
}

void Wow64Redirection::Revert(void* previous) {
    if (revert_ != nullptr) {
        revert_(previous);
    }
}

std::int32_t Kernel32MoveFile::MoveFileExA(const char* existing, const char* newName, std::uint32_t flags) {
    if (function_ == nullptr) {
        function_ = Kernel32Function<MoveFileExAFunction>("MoveFileExA");
        if (function_ == nullptr) {
            throw std::runtime_error("MoveFileExA is not available");
        }
    }
    return WithoutRedirection(redirection_, [&] { return function_(existing, newName, flags); });
}

std::optional<std::string> ConvertExactly(std::wstring_view text, UINT codePage) {
    if (text.empty()) {
        return std::string();
    }
    const int wideLength = static_cast<int>(text.size());
    // UTF-8 and a few other code pages take neither the flag nor the default-character report; the
    // round trip below still catches whatever they could not carry.
    const bool strictCodePage = codePage != CP_UTF8 && codePage != CP_UTF7 && codePage != 54936;
    const DWORD flags = strictCodePage ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultReport = strictCodePage ? &usedDefault : nullptr;

    const int length = ::WideCharToMultiByte(codePage, flags, text.data(), wideLength, nullptr, 0, nullptr,
                                             usedDefaultReport);
    if (length <= 0) {
        return std::nullopt;
    }
    std::string converted(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(codePage, flags, text.data(), wideLength, converted.data(), length, nullptr,
                              usedDefaultReport) != length ||
        usedDefault) {
        return std::nullopt;
    }

    const int backLength =
        ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, converted.data(), length, nullptr, 0);
    if (backLength != wideLength) {
        return std::nullopt;
    }
    std::wstring back(static_cast<std::size_t>(backLength), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, converted.data(), length, back.data(), backLength);
    if (back != text) {
        return std::nullopt;
    }
    return converted;
}

std::optional<std::string> Win32AnsiCodePage::ToAnsiExactly(std::wstring_view text) {
    return ConvertExactly(text, ::GetACP());
}

}  // namespace tarvolen::win32
