#pragma once
// Every Windows handle the program holds is named here once, with what frees it, and the one way to
// call an API that fills a buffer of unknown size.

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>

namespace tarvolen::win32 {

// Move-only owner of one Windows resource; `Traits` says what an empty value is and how to free one.
// Copying is forbidden so that no resource is ever freed twice.
template <class Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Value value) noexcept : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~UniqueResource() { reset(); }

    Value get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Traits::IsValid(value_); }

    Value release() noexcept { return std::exchange(value_, Traits::Empty()); }

    void reset(Value value = Traits::Empty()) noexcept {
        const Value old = std::exchange(value_, value);
        if (Traits::IsValid(old)) {
            Traits::Free(old);
        }
    }

private:
    Value value_ = Traits::Empty();
};

template <class T, auto FreeFunction>
struct NullIsEmpty {
    using Value = T;
    static constexpr T Empty() noexcept { return nullptr; }
    static bool IsValid(T value) noexcept { return value != nullptr; }
    static void Free(T value) noexcept { FreeFunction(value); }
};

struct KernelHandleTraits {
    using Value = HANDLE;
    static HANDLE Empty() noexcept { return nullptr; }
    static bool IsValid(HANDLE value) noexcept { return value != nullptr && value != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE value) noexcept { ::CloseHandle(value); }
};

inline void DeleteFont(HFONT font) noexcept { ::DeleteObject(font); }
inline void FreeLocal(wchar_t* text) noexcept { ::LocalFree(text); }
inline void ReleaseScreenDc(HDC screen) noexcept { ::ReleaseDC(nullptr, screen); }

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueWindow = UniqueResource<NullIsEmpty<HWND, ::DestroyWindow>>;
using UniqueFont = UniqueResource<NullIsEmpty<HFONT, DeleteFont>>;
using UniqueIcon = UniqueResource<NullIsEmpty<HICON, ::DestroyIcon>>;
using UniqueLocalText = UniqueResource<NullIsEmpty<wchar_t*, FreeLocal>>;
using UniqueScreenDc = UniqueResource<NullIsEmpty<HDC, ReleaseScreenDc>>;

// The device context of the whole screen (its dpi, its pixels), released when the owner goes.
inline UniqueScreenDc ScreenDc() { return UniqueScreenDc(::GetDC(nullptr)); }

// What FillGrowingBuffer got from the call: its text, or, when it answered 0, the call's error code
// (ERROR_SUCCESS where it merely had no text).
struct FilledText {
    std::wstring text;
    DWORD error = ERROR_SUCCESS;
    bool failed = false;  // the call answered 0: no text, or a failure
};

// Calls `fill(buffer, capacity)` with a buffer of `capacity` characters (its terminating null
// included), starting at `initialCapacity`, until the text fits. `fill` answers as the Windows calls
// do:
//  - a length below `capacity`: the text fit, and has that many characters;
//  - a length above `capacity`: the buffer was too small, and that many characters are needed;
//  - exactly `capacity`: the text was cut short at that size (GetModuleFileNameW), so twice as many
//    are tried;
//  - 0: the call failed, or there is no text; its last error is handed back.
template <class Fill>
FilledText FillGrowingBuffer(std::size_t initialCapacity, Fill&& fill) {
    std::wstring buffer(initialCapacity, L'\0');
    for (;;) {
        const auto length = static_cast<std::size_t>(fill(buffer.data(), buffer.size()));
        if (length == 0) {
            return {.text = {}, .error = ::GetLastError(), .failed = true};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return {.text = std::move(buffer)};
        }
        buffer.resize(length > buffer.size() ? length : buffer.size() * 2);
    }
}

}  // namespace tarvolen::win32
