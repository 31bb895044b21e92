// The library search limited to the system folder, and the functions of the table bound one way.
#include "platform/win32/Libraries.h"

#include <cstddef>
#include <iterator>
#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/TextAndErrors.h"

namespace tarvolen::win32 {

namespace {

// The libraries of the table, each loaded at the first use of one of its functions and kept until the
// program ends.
struct Library {
    const wchar_t* file;
    HMODULE loaded;
};
Library kernel32{L"kernel32.dll", nullptr};
Library advapi32{L"advapi32.dll", nullptr};
Library shell32{L"shell32.dll", nullptr};
Library comdlg32{L"comdlg32.dll", nullptr};
Library rstrtmgr{L"rstrtmgr.dll", nullptr};

enum class WhenMissing : unsigned char { Fallback, Required };

struct Entry {
    Library* library;
    WhenMissing whenMissing;
    const char* name;
    const char* failure;  // what the end of the program says for a Required function
};

constexpr Entry kTable[] = {
#define TARVOLEN_SYSTEM_FUNCTION_ENTRY(name, library, whenMissing) \
    {&library, WhenMissing::whenMissing, #name, #name " of " #library ".dll is not available"},
    TARVOLEN_SYSTEM_FUNCTIONS(TARVOLEN_SYSTEM_FUNCTION_ENTRY)
#undef TARVOLEN_SYSTEM_FUNCTION_ENTRY
};

// Each function looked up once, for the rest of the run. Everything runs on the one user-interface
// thread.
struct Binding {
    bool lookedUp;
    void* address;
};
Binding bindings[std::size(kTable)];

// How many switch-offs of WoW64 redirection are not yet put back.
unsigned redirectionOff = 0;

// The full path of a DLL in the system folder, so that no copy elsewhere (beside the program, in the
// current folder) is ever loaded in its place.
std::wstring SystemLibraryPath(const wchar_t* dllName) {
    const FilledText folder = FillGrowingBuffer(MAX_PATH, [](wchar_t* buffer, std::size_t capacity) {
        return LengthOrNeeded(::GetSystemDirectoryW(buffer, static_cast<UINT>(capacity)), capacity);
    });
    if (folder.failed() || folder.text.empty()) {
        EndOnFailure("the system folder is unknown", folder.error);
    }
    return folder.text + L"\\" + dllName;
}

// The function's address; null, with the system's error as the last error, when its library cannot
// be loaded or lacks it.
void* LookUp(const Entry& entry) {
    Library& library = *entry.library;
    if (library.loaded == nullptr) {
        if (redirectionOff != 0) {
            EndOnFailure("a library was to be loaded while WoW64 redirection is off", ERROR_INVALID_STATE);
        }
        library.loaded = ::LoadLibraryW(SystemLibraryPath(library.file).c_str());
        if (library.loaded == nullptr) {
            return nullptr;
        }
    }
    return reinterpret_cast<void*>(::GetProcAddress(library.loaded, entry.name));
}

}  // namespace

void RestrictLibrarySearch() {
    const auto setDefaultDllDirectories = Bound<SystemFunction::SetDefaultDllDirectories>();
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE) {
        return;
    }
    // Without it, at least the current folder leaves the search.
    ::SetDllDirectoryW(L"");
}

void NoteRedirectionOff(bool off) {
    if (off) {
        ++redirectionOff;
    } else if (redirectionOff != 0) {
        --redirectionOff;
    }
}

void* SystemFunctionAddress(SystemFunction function) {
    const auto index = static_cast<std::size_t>(function);
    Binding& binding = bindings[index];
    if (!binding.lookedUp) {
        const Entry& entry = kTable[index];
        binding.address = LookUp(entry);
        if (binding.address == nullptr && entry.whenMissing == WhenMissing::Required) {
            EndOnLastError(entry.failure);
        }
        binding.lookedUp = true;
    }
    return binding.address;
}

}  // namespace tarvolen::win32
