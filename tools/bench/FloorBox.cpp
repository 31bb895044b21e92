// The least program that shows what tarvolen.exe shows first in deletion mode: the confirmation box
// for the file named on the command line, built from the same text and with the same style. It looks
// at nothing else, so its start-up is the floor that the real program is measured against.
#include <windows.h>

#include <memory>

namespace {

struct FreeOnHeap {
    void operator()(wchar_t* text) const noexcept { ::HeapFree(::GetProcessHeap(), 0, text); }
};

// The command line after the program's own (possibly quoted) name.
const wchar_t* ArgumentText(const wchar_t* line) {
    const bool quoted = *line == L'"';
    line += quoted ? 1 : 0;
    while (*line != L'\0' && *line != (quoted ? L'"' : L' ')) {
        ++line;
    }
    line += *line == L'"' ? 1 : 0;
    while (*line == L' ' || *line == L'\t') {
        ++line;
    }
    return line;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const wchar_t* path = ArgumentText(::GetCommandLineW());
    int length = ::lstrlenW(path);
    if (length >= 2 && path[0] == L'"' && path[length - 1] == L'"') {
        ++path;
        length -= 2;
    }
    constexpr wchar_t kHead[] = L"Datei \"";
    constexpr wchar_t kTail[] = L"\" wirklich l\u00f6schen?";
    constexpr int kHeadLength = sizeof kHead / sizeof kHead[0] - 1;
    constexpr int kTailLength = sizeof kTail / sizeof kTail[0];  // with the terminating null
    const std::unique_ptr<wchar_t, FreeOnHeap> text(static_cast<wchar_t*>(
        ::HeapAlloc(::GetProcessHeap(), 0, (kHeadLength + length + kTailLength) * sizeof(wchar_t))));
    if (!text) {
        return 1;
    }
    ::CopyMemory(text.get(), kHead, kHeadLength * sizeof(wchar_t));
    ::CopyMemory(text.get() + kHeadLength, path, length * sizeof(wchar_t));
    ::CopyMemory(text.get() + kHeadLength + length, kTail, kTailLength * sizeof(wchar_t));
    return ::MessageBoxW(nullptr, text.get(), L"Tarvolen", MB_ICONQUESTION | MB_YESNO);
}
