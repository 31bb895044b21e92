// Registry values read through advapi32's RegGetValueW.
#include "platform/win32/Registry.h"

namespace tarvolen::win32 {

RegistryText ReadMultiString(decltype(&::RegGetValueW) getValue, HKEY root, const wchar_t* subkey,
                             const wchar_t* valueName) {
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
