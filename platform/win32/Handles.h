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

    // Frees what it holds and hands out its place, for a call that answers a new value through a
    // pointer (OpenProcessToken): whatever the call writes there is owned from then on.
    Value* put() noexcept {
        reset();
        return &value_;
    }

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

// Windows' handles fail in two ways: most calls answer NULL (OpenProcess, CreateEventW, a process's and
// a thread's handles), while CreateFileW, ReOpenFile and CreateNamedPipeW answer INVALID_HANDLE_VALUE.
// Each owner knows only its own: a handle is owned by the type of the call that made it.
inline void CloseKernelHandle(HANDLE handle) noexcept { ::CloseHandle(handle); }

struct FileHandleTraits {
    using Value = HANDLE;
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(HANDLE value) noexcept { return value != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE value) noexcept { ::CloseHandle(value); }
};

inline void DeleteFont(HFONT font) noexcept { ::DeleteObject(font); }
inline void FreeLocal(wchar_t* text) noexcept { ::LocalFree(text); }
inline void ReleaseScreenDc(HDC screen) noexcept { ::ReleaseDC(nullptr, screen); }

using UniqueHandle = UniqueResource<NullIsEmpty<HANDLE, CloseKernelHandle>>;  // NULL when it failed
using UniqueFile = UniqueResource<FileHandleTraits>;  // INVALID_HANDLE_VALUE when it failed
using UniqueWindow = UniqueResource<NullIsEmpty<HWND, ::DestroyWindow>>;
using UniqueFont = UniqueResource<NullIsEmpty<HFONT, DeleteFont>>;
using UniqueIcon = UniqueResource<NullIsEmpty<HICON, ::DestroyIcon>>;
using UniqueLocalText = UniqueResource<NullIsEmpty<wchar_t*, FreeLocal>>;
using UniqueScreenDc = UniqueResource<NullIsEmpty<HDC, ReleaseScreenDc>>;

// The device context of the whole screen (its dpi, its pixels), released when the owner goes.
inline UniqueScreenDc ScreenDc() { return UniqueScreenDc(::GetDC(nullptr)); }

// What a call that fills a buffer answered (`fill` of FillGrowingBuffer): ERROR_SUCCESS or the call's
// error, and how many characters its whole text needs, its terminating null included.
struct FillStatus {
    DWORD error = ERROR_SUCCESS;
    std::size_t needed = 1;
};

// The answer of the many calls that return the length of their text when it fit, below `capacity`, the
// characters they need, terminating null included, when it did not, and 0 when they failed or have no
// text (GetLastError() tells which).
inline FillStatus LengthOrNeeded(std::size_t answer, std::size_t capacity) {
    if (answer == 0) {
        return {.error = ::GetLastError(), .needed = 1};
    }
    return {.error = ERROR_SUCCESS, .needed = answer < capacity ? answer + 1 : answer};
}

// The text a call filled in, or, where it failed, its error (ERROR_SUCCESS where it did not).
struct FilledText {
    std::wstring text;
    DWORD error = ERROR_SUCCESS;
    bool failed() const noexcept { return error != ERROR_SUCCESS; }
};

// Calls `fill(buffer, capacity)` with a buffer of `capacity` characters (its terminating null
// included), starting at `initialCapacity`, and again with the room it says it needs, until its text
// fits. `fill` answers a FillStatus.
template <class Fill>
FilledText FillGrowingBuffer(std::size_t initialCapacity, Fill&& fill) {
    std::wstring buffer(initialCapacity != 0 ? initialCapacity : 1, L'\0');
    for (;;) {
        const FillStatus status = fill(buffer.data(), buffer.size());
        if (status.error != ERROR_SUCCESS) {
            return {.text = {}, .error = status.error};
        }
        if (status.needed <= buffer.size()) {
            buffer.resize(status.needed != 0 ? status.needed - 1 : 0);
            return {.text = std::move(buffer)};
        }
        buffer.resize(status.needed);
    }
}

}  // namespace tarvolen::win32
