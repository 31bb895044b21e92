#pragma once
// Every Windows handle the program holds is named here once, with what frees it.

#include <windows.h>

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
using UniqueModule = UniqueResource<NullIsEmpty<HMODULE, ::FreeLibrary>>;
using UniqueLocalText = UniqueResource<NullIsEmpty<wchar_t*, FreeLocal>>;
using UniqueScreenDc = UniqueResource<NullIsEmpty<HDC, ReleaseScreenDc>>;

// The device context of the whole screen (its dpi, its pixels), released when the owner goes.
inline UniqueScreenDc ScreenDc() { return UniqueScreenDc(::GetDC(nullptr)); }

}  // namespace tarvolen::win32
