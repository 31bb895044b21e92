// The Restart Manager session that lists the holders of one file, and their program files' names.
#include "platform/win32/RestartManager.h"

#include <algorithm>
#include <iterator>

#include "platform/win32/Files.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Libraries.h"

namespace tarvolen::win32 {

namespace {

// A session of the Restart Manager, ended on every way out.
class Session {
public:
    Session() {
        WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
        started_ = Bound<SystemFunction::RmStartSession>()(&handle_, 0, key) == ERROR_SUCCESS;
    }
    ~Session() {
        if (started_) {
            Bound<SystemFunction::RmEndSession>()(handle_);
        }
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    explicit operator bool() const { return started_; }
    DWORD Handle() const { return handle_; }

private:
    DWORD handle_ = 0;
    bool started_ = false;
};

// What the Restart Manager lists as using the file `name`; nothing when it cannot tell. The list may
// grow between the call that sizes it and the one that fills it; then it is asked again.
std::vector<RM_PROCESS_INFO> ListUsers(const Session& session, const std::wstring& name) {
    const auto getList = Bound<SystemFunction::RmGetList>();
    LPCWSTR names[] = {name.c_str()};
    if (Bound<SystemFunction::RmRegisterResources>()(session.Handle(), 1, names, 0, nullptr, 0, nullptr) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::vector<RM_PROCESS_INFO> users;
    for (int attempt = 0; attempt < 3; ++attempt) {
        UINT needed = 0;
        UINT count = static_cast<UINT>(users.size());
        DWORD reasons = 0;
        const DWORD status = getList(session.Handle(), &needed, &count, users.data(), &reasons);
        if (status == ERROR_SUCCESS) {
            users.resize(count);
            return users;
        }
        if (status != ERROR_MORE_DATA) {
            break;
        }
        users.resize(needed);
    }
    return {};
}

// The full path of the program file of the process the Restart Manager listed; empty where the process
// cannot be asked, or where its number now belongs to another process than the one listed.
std::wstring ProgramFileOf(const RM_UNIQUE_PROCESS& listed) {
    const UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, listed.dwProcessId));
    FILETIME created{};
    FILETIME unused{};
    if (!process || !::GetProcessTimes(process.get(), &created, &unused, &unused, &unused) ||
        ::CompareFileTime(&created, &listed.ProcessStartTime) != 0) {
        return {};
    }
    return FillGrowingBuffer(MAX_PATH,
                             [&](wchar_t* buffer, std::size_t capacity) -> FillStatus {
                                 auto size = static_cast<DWORD>(capacity);
                                 if (::QueryFullProcessImageNameW(process.get(), 0, buffer, &size)) {
                                     return {.needed = std::size_t{size} + 1};
                                 }
                                 const DWORD error = ::GetLastError();
                                 // Too small, without saying how much room it needs: twice as much is tried.
                                 return error == ERROR_INSUFFICIENT_BUFFER
                                            ? FillStatus{.needed = capacity * 2}
                                            : FillStatus{.error = error};
                             })
        .text;
}

// A name that leads to the file `file` with redirection as the Restart Manager needs it, on: `name`
// itself where it does; else, for a 32-bit program and a file of the 64-bit system folder, the
// folder's Sysnative alias; else nothing, so that the holders of the file's 32-bit twin in SysWOW64
// are never named for it.
std::wstring NameLeadingTo(const std::wstring& name, const FileIdentity& file) {
    const FilledText systemFolder = FillGrowingBuffer(MAX_PATH, [](wchar_t* buffer, std::size_t capacity) {
        return LengthOrNeeded(::GetSystemDirectoryW(buffer, static_cast<UINT>(capacity)), capacity);
    });
    for (const std::wstring& candidate : {name, SysnativeName(name, systemFolder.text)}) {
        const OpenedHandle found =
            candidate.empty() ? OpenedHandle{} : OpenUnfollowed(candidate, FILE_READ_ATTRIBUTES);
        if (found && IdentityOf(found.handle.get()) == file) {
            return candidate;
        }
    }
    return {};
}

}  // namespace

std::vector<HoldingProcess> HoldersOf(const std::wstring& name, const FileIdentity& file) {
    if (Bound<SystemFunction::RmStartSession>() == nullptr ||
        Bound<SystemFunction::RmRegisterResources>() == nullptr ||
        Bound<SystemFunction::RmGetList>() == nullptr || Bound<SystemFunction::RmEndSession>() == nullptr) {
        return {};
    }
    const std::wstring asked = NameLeadingTo(name, file);
    if (asked.empty()) {
        return {};
    }
    std::vector<RM_PROCESS_INFO> users;
    {
        const Session session;
        if (!session) {
            return {};
        }
        users = ListUsers(session, asked);
    }
    std::vector<HoldingProcess> holders;
    for (const RM_PROCESS_INFO& user : users) {
        const auto nameEnd = std::find(std::begin(user.strAppName), std::end(user.strAppName), L'\0');
        std::wstring appName(std::begin(user.strAppName), nameEnd);
        std::wstring imagePath = appName.empty() ? ProgramFileOf(user.Process) : std::wstring();
        holders.push_back({user.Process.dwProcessId, std::move(appName), std::move(imagePath)});
    }
    return holders;
}

}  // namespace tarvolen::win32
