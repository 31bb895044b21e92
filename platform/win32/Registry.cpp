// Registry values read through advapi32's RegGetValueW, bound from the system folder when needed.
#include "platform/win32/Registry.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Libraries.h"

namespace tarvolen::win32 {

RegistryText ReadMultiString(HKEY root, const wchar_t* subkey, const wchar_t* valueName) {
    const UniqueModule advapi32 = LoadSystemLibrary(L"advapi32.dll");
    const auto getValue =
        advapi32 ? LibraryFunction<decltype(&::RegGetValueW)>(advapi32.get(), "RegGetValueW") : nullptr;
    if (getValue == nullptr) {
        return {.error = ERROR_PROC_NOT_FOUND};
    }
    std::wstring text;
    for (;;) {
        DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status = getValue(root, subkey, valueName, RRF_RT_REG_MULTI_SZ, nullptr,
                                        text.empty() ? nullptr : text.data(), &bytes);
        // The value may grow between the calls; then the size is asked again.
        if (status == ERROR_SUCCESS && !text.empty()) {
            text.resize(bytes / sizeof(wchar_t));
            return {.text = std::move(text)};
        }
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
            return {.error = static_cast<DWORD>(status)};
        }
        text.assign(bytes / sizeof(wchar_t) + 2, L'\0');
    }
}

}  // namespace tarvolen::win32
