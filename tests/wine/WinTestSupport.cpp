#include "tests/wine/WinTestSupport.h"

#include <psapi.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>
#include <utility>

#include "platform/win32/Handles.h"
#include "window/ReplacerLayout.h"

namespace tarvolen::wintest {

namespace {

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

// The colour values of what `paint` draws into a memory bitmap of that size, as 32-bit pixels.
std::vector<std::uint32_t> Painted(int width, int height, const std::function<void(HDC)>& paint) {
    const UniqueScreenDc screen = ScreenDc();
    const HDC memory = ::CreateCompatibleDC(screen.get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    paint(memory);
    ::GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + width * height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return pixels;
}

// A system icon drawn the way a message box draws it, on the dialog face colour.
std::vector<std::uint32_t> ReferenceIcon(const wchar_t* iconId, int width, int height) {
    return Painted(width, height, [&](HDC memory) {
        RECT all{0, 0, width, height};
        ::FillRect(memory, &all, ::GetSysColorBrush(COLOR_3DFACE));
        ::DrawIconEx(memory, 0, 0, ::LoadIconW(nullptr, iconId), 0, 0, 0, nullptr, DI_NORMAL);
    });
}

double Distance(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            sum +=
                std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF));
        }
    }
    return sum / static_cast<double>(std::max<std::size_t>(a.size(), 1));
}

// Which standard icon a message box shows, told by its pixels on the screen: icon handles belong to
// the process that loaded them and cannot be looked into from here.
BoxIcon IdentifyIcon(HWND box) {
    const int iconControlId = 0x0440;  // the message box's icon control
    const HWND icon = ::GetDlgItem(box, iconControlId);
    // The handle itself means nothing in this process, but whether there is one does.
    if (icon == nullptr || !::IsWindowVisible(icon) || ::SendMessageW(icon, STM_GETICON, 0, 0) == 0) {
        return BoxIcon::None;
    }
    RECT rect{};
    ::GetWindowRect(icon, &rect);
    const int width = std::min<int>(rect.right - rect.left, ::GetSystemMetrics(SM_CXICON));
    const int height = std::min<int>(rect.bottom - rect.top, ::GetSystemMetrics(SM_CYICON));
    if (width <= 0 || height <= 0) {
        return BoxIcon::None;
    }
    const std::vector<std::uint32_t> shown = Painted(width, height, [&](HDC memory) {
        ::BitBlt(memory, 0, 0, width, height, ScreenDc().get(), rect.left, rect.top, SRCCOPY);
    });

    const std::array<std::pair<BoxIcon, const wchar_t*>, 4> candidates{{
        {BoxIcon::Question, IDI_QUESTION},
        {BoxIcon::Exclamation, IDI_EXCLAMATION},
        {BoxIcon::Information, IDI_INFORMATION},
        {BoxIcon::Error, IDI_ERROR},
    }};
    BoxIcon best = BoxIcon::Unknown;
    double bestDistance = 1e9;
    double secondDistance = 1e9;
    for (const auto& [kind, id] : candidates) {
        const double distance = Distance(shown, ReferenceIcon(id, width, height));
        if (distance < bestDistance) {
            secondDistance = bestDistance;
            bestDistance = distance;
            best = kind;
        } else if (distance < secondDistance) {
            secondDistance = distance;
        }
    }
    // A clear winner only.
    return bestDistance * 2 < secondDistance ? best : BoxIcon::Unknown;
}

}  // namespace

std::wstring BuildFolder() {
    const std::wstring path = win32::FillGrowingBuffer(MAX_PATH, [](wchar_t* buffer, std::size_t capacity) {
                                  const DWORD length =
                                      ::GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(capacity));
                                  // Cut short at exactly the buffer's size: twice as much is tried.
                                  return length == capacity ? win32::FillStatus{.needed = capacity * 2}
                                                            : win32::LengthOrNeeded(length, capacity);
                              }).text;
    return path.substr(0, path.find_last_of(L'\\'));
}

bool PathExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetReadOnly(const std::wstring& path, bool readOnly) {
    ::SetFileAttributesW(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

bool IsReadOnly(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(30ms);
    }
}

Process StartTarvolen(const std::wstring& argumentText, const std::wstring& exe,
                      const std::wstring& environment, const std::wstring& currentFolder) {
    const std::wstring program = exe.empty() ? BuildFolder() + L"\\tarvolen.exe" : exe;
    std::wstring line = L"\"" + program + L"\"";
    if (!argumentText.empty()) {
        line += L" " + argumentText;
    }
    return Process(program, line, environment, currentFolder);
}

HWND WaitForWindow(DWORD processId, const std::wstring& className, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (const HWND window : VisibleTopWindows(processId)) {
                if (ClassOf(window) == className) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

const char* Name(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::None:
        return "none";
    case BoxIcon::Question:
        return "question";
    case BoxIcon::Exclamation:
        return "exclamation";
    case BoxIcon::Information:
        return "information";
    case BoxIcon::Error:
        return "error";
    case BoxIcon::Unknown:
        break;
    }
    return "unknown";
}

MessageBoxView WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout) {
    MessageBoxView view;
    view.window = WaitForWindow(processId, L"#32770", timeout);
    if (view.window == nullptr) {
        return view;
    }
    // Let the box finish painting before its icon is looked at.
    std::this_thread::sleep_for(300ms);
    view.title = TextOf(view.window);
    view.text = TextOf(::GetDlgItem(view.window, 0xFFFF));
    for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        const HWND button = ::GetDlgItem(view.window, id);
        if (button != nullptr && ::IsWindowVisible(button)) {
            view.buttons.push_back(id);
        }
    }
    // A busy machine may take longer to paint it.
    WaitFor(
        [&] {
            view.icon = IdentifyIcon(view.window);
            return view.icon != BoxIcon::Unknown;
        },
        3s);
    return view;
}

void PressButton(HWND box, int buttonId) { ::PostMessageW(::GetDlgItem(box, buttonId), BM_CLICK, 0, 0); }

bool HasModuleLoaded(HANDLE process, const std::wstring& moduleName) {
    std::vector<HMODULE> modules(512);
    DWORD needed = 0;
    if (!::EnumProcessModulesEx(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                                &needed, LIST_MODULES_ALL)) {
        throw std::runtime_error("cannot list the modules of a process");
    }
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    for (const HMODULE module : modules) {
        wchar_t name[MAX_PATH] = {};
        ::GetModuleBaseNameW(process, module, name, MAX_PATH);
        if (Lower(name) == Lower(moduleName)) {
            return true;
        }
    }
    return false;
}

std::vector<std::wstring> PendingFileRenameOperations() {
    const wchar_t* key = L"System\\CurrentControlSet\\Control\\Session Manager";
    const wchar_t* value = L"PendingFileRenameOperations";
    DWORD size = 0;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_MULTI_SZ, nullptr, data.data(), &size) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::vector<std::wstring> entries;
    for (std::size_t at = 0; at < data.size();) {
        const std::size_t end = data.find(L'\0', at);
        entries.push_back(data.substr(at, end - at));
        at = end + 1;
    }
    return entries;
}

bool IsPendingForRestart(const std::wstring& path) {
    const std::wstring wanted = Lower(path);
    for (const std::wstring& entry : PendingFileRenameOperations()) {
        const std::wstring lower = Lower(entry);
        if (lower.size() >= wanted.size() &&
            lower.compare(lower.size() - wanted.size(), wanted.size(), wanted) == 0) {
            return true;
        }
    }
    return false;
}

void RestartSystem() {
    // The restart is carried out by the 64-bit system; a 32-bit test program reaches its wineboot
    // through "Sysnative", as "System32" would lead it to the 32-bit one.
    BOOL wow64 = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &wow64);
    const std::wstring exe =
        std::wstring(L"C:\\windows\\") + (wow64 ? L"sysnative" : L"system32") + L"\\wineboot.exe";
    Process wineboot(exe, L"wineboot.exe -r");
    if (!wineboot.WaitForExit(60s)) {
        throw std::runtime_error("the restart did not finish");
    }
}

namespace {

// Runs a Unix program through Wine, which starts it without a process handle to wait on; the caller
// waits for its effect instead.
void StartUnixProgram(const char* program, const std::wstring& arguments) {
    using ToDos = WCHAR*(CDECL*)(const char*);
    const auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos == nullptr) {
        throw std::runtime_error("not running under Wine");
    }
    WCHAR* const dosName = toDos(program);
    if (dosName == nullptr) {
        throw std::runtime_error("no Windows name for a Unix program");
    }
    const std::wstring application = dosName;
    ::HeapFree(::GetProcessHeap(), 0, dosName);
    std::wstring line = L"\"" + application + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        throw std::runtime_error("cannot start a Unix program");
    }
    ::CloseHandle(info.hProcess);
    ::CloseHandle(info.hThread);
}

std::wstring UnixName(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* const name = toUnix != nullptr ? toUnix(path.c_str()) : nullptr;
    if (name == nullptr) {
        throw std::runtime_error("no Unix name for a path");
    }
    std::wstring wide(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.data(), static_cast<int>(wide.size()));
    wide.pop_back();
    ::HeapFree(::GetProcessHeap(), 0, name);
    return wide;
}

}  // namespace

UnixSymlink::UnixSymlink(const std::wstring& link, const std::wstring& target) : link_(link) {
    const std::size_t slash = link.find_last_of(L'\\');
    unixLink_ = UnixName(link.substr(0, slash)) + L"/" + link.substr(slash + 1);
    StartUnixProgram("/bin/ln", L"-s -- \"" + target + L"\" \"" + unixLink_ + L"\"");
    if (!WaitFor([&] { return PathExists(link_); })) {
        throw std::runtime_error("the Unix symbolic link was not made");
    }
}

UnixSymlink::~UnixSymlink() {
    try {
        StartUnixProgram("/bin/rm", L"-f -- \"" + unixLink_ + L"\"");
        WaitFor([&] { return !PathExists(link_); });
    } catch (const std::exception&) {
        // Left behind in the test folder, which is then left behind too.
    }
}

namespace {
const wchar_t* const kProgramsOverrides = L"Software\\Wine\\AppDefaults\\tarvolen.exe\\DllOverrides";
}

StandInLibrary::StandInLibrary(const std::wstring& name, const std::wstring& standIn) {
    wchar_t folder[MAX_PATH] = {};
    system_ = std::wstring(folder, ::GetSystemDirectoryW(folder, MAX_PATH)) + L"\\" + name;
    saved_ = system_ + L".wine";
    PutBack();  // what a run that was killed left behind
    hadOwn_ = PathExists(system_);
    if ((hadOwn_ && !::MoveFileExW(system_.c_str(), saved_.c_str(), MOVEFILE_REPLACE_EXISTING)) ||
        !::CopyFileW((BuildFolder() + L"\\" + standIn).c_str(), system_.c_str(), FALSE)) {
        throw std::runtime_error("cannot put a stand-in library into the system folder");
    }
    const std::wstring order = L"native,builtin";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kProgramsOverrides, name.substr(0, name.find(L'.')).c_str(), REG_SZ,
                      order.c_str(), static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t)));
}

StandInLibrary::~StandInLibrary() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kProgramsOverrides);
    if (!hadOwn_) {
        ::DeleteFileW(system_.c_str());
    }
    PutBack();
}

void StandInLibrary::PutBack() const {
    if (PathExists(saved_)) {
        ::MoveFileExW(saved_.c_str(), system_.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

FileHolder::FileHolder(const std::wstring& path) {
    const std::wstring name = L"tarvolen-hold-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              std::to_wstring(::GetTickCount64());
    held_.reset(::CreateEventW(nullptr, TRUE, FALSE, (name + L"-held").c_str()));
    release_.reset(::CreateEventW(nullptr, TRUE, FALSE, (name + L"-release").c_str()));
    const std::wstring exe = BuildFolder() + L"\\hold_file.exe";
    process_.emplace(exe, L"\"" + exe + L"\" \"" + path + L"\" " + name);
    if (::WaitForSingleObject(held_.get(), 15000) != WAIT_OBJECT_0) {
        throw std::runtime_error("the file could not be held open");
    }
}

FileHolder::~FileHolder() { Release(); }

void FileHolder::Release() {
    if (process_) {
        ::SetEvent(release_.get());
        process_->WaitForExit(15s);
        process_.reset();
    }
}

ReplacerDriver::ReplacerDriver(const std::wstring& currentFolder)
    : ReplacerDriver(StartTarvolen(L"", {}, {}, currentFolder)) {}

ReplacerDriver::ReplacerDriver(Process program) : program_(std::move(program)) {
    window_ = WaitForWindow(program_.Id(), L"TarvolenReplacer");
    if (window_ == nullptr) {
        throw std::runtime_error("the Replacer window did not open");
    }
}

ReplacerDriver::~ReplacerDriver() {
    if (program_.IsRunning()) {
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        program_.WaitForExit(5s);
    }
}

void ReplacerDriver::SetText(int controlId, const std::wstring& text) {
    ::SendMessageW(Control(controlId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ReplacerDriver::Text(int controlId) const { return TextOf(Control(controlId)); }

void ReplacerDriver::SetChecked(int controlId, bool checked) {
    if (IsChecked(controlId) != checked) {
        ::SendMessageW(Control(controlId), BM_CLICK, 0, 0);
    }
}

bool ReplacerDriver::IsChecked(int controlId) const {
    return ::SendMessageW(Control(controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ReplacerDriver::Click(int controlId) { ::PostMessageW(Control(controlId), BM_CLICK, 0, 0); }

std::wstring ReplacerDriver::Action() {
    Click(kCommand1);
    const MessageBoxView box = WaitForMessageBox(program_.Id());
    if (box.window == nullptr) {
        return L"<no box>";
    }
    const std::wstring text = box.text;
    const bool plain =
        box.title == L"Tarvolen" && box.buttons == std::vector<int>{IDOK} && box.icon == BoxIcon::None;
    // The box is modal to the window: the window takes no input while it is open.
    const bool modal = !::IsWindowEnabled(window_) && ::GetWindow(box.window, GW_OWNER) == window_;
    PressButton(box.window, IDOK);
    WaitFor([&] { return !::IsWindow(box.window); });
    WaitFor([&] { return ::IsWindowEnabled(window_) != FALSE; });
    if (!plain) {
        return L"<not a plain box: " + box.title + L", icon " + std::to_wstring(static_cast<int>(box.icon)) +
               L"> " + text;
    }
    if (!modal) {
        return L"<not modal> " + text;
    }
    return text;
}

std::wstring ReplacerDriver::Action(const std::wstring& source, const std::wstring& target, bool overwrite,
                                    bool reboot, bool kill) {
    SetText(kTxtSource, source);
    SetText(kTxtTarget, target);
    SetChecked(kChkOverwrite, overwrite);
    SetChecked(kChkReboot, reboot);
    SetChecked(kChkKill, kill);
    return Action();
}

}  // namespace tarvolen::wintest
