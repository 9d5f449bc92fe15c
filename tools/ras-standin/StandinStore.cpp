#include "StandinStore.h"

#include <cstdio>
#include <vector>

#include "common/StrUtils.h"

namespace {

// Read no more of a state file than a full one can hold.
const DWORD kMaxStateBytes = 4 << 20;

std::string EnvironmentValue(const char* name)
{
    char buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

TPlace MakePlace()
{
    std::string folder = EnvironmentValue("RASSTANDIN_DIR");
    if (folder.empty()) {
        folder = EnvironmentValue("ProgramData");
        if (folder.empty()) folder = EnvironmentValue("ALLUSERSPROFILE");
        if (folder.empty()) {
            char windows[MAX_PATH];
            UINT n = GetWindowsDirectoryA(windows, sizeof windows);
            folder = std::string(windows, n < sizeof windows ? n : 0) + "\\Temp";
        }
        folder += "\\RasStandin";
    }
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    if (n > 0 && n < sizeof full) folder.assign(full, n);
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    CreateDirectoryA(folder.c_str(), nullptr);

    uint32_t hash = 2166136261u;  // FNV-1a of the folder, letter case aside as Windows paths go
    for (char c : UpperCase(folder)) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    char tag[32];
    std::snprintf(tag, sizeof tag, "RasStandin-%08lX", static_cast<unsigned long>(hash));

    TPlace place;
    place.Folder = folder;
    place.StateFile = folder + "\\rasstandin.dat";
    place.LogFile = folder + "\\rasstandin.log";
    place.MutexName = std::string(tag) + "-lock";
    place.WatchPrefix = std::string(tag) + "-watch-";
    return place;
}

std::string ReadProcessName()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string name(path, n < sizeof path ? n : 0);
    size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

// Read once: every log line carries it, and lines are written while the state's mutex is held.
const std::string& ProcessName()
{
    static const std::string name = ReadProcessName();
    return name;
}

bool ReadWhole(const std::string& path, std::string& text)
{
    text.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while (text.size() < kMaxStateBytes) {
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) ok = false;
        if (!ok || got == 0) break;
        text.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool WriteWhole(const std::string& path, const std::string& text, DWORD disposition)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (disposition == OPEN_ALWAYS) SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    return CloseHandle(file) && ok;
}

}  // namespace

// Fixed for the process at its first RAS call.
const TPlace& Place()
{
    static const TPlace place = MakePlace();
    return place;
}

std::string WatchEventName(uint32_t pid)
{
    return Place().WatchPrefix + std::to_string(pid);
}

uint64_t NowMs()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000;
}

TSession::TSession()
{
    FMutex = CreateMutexA(nullptr, FALSE, Place().MutexName.c_str());
    // An owner that died holding the mutex leaves WAIT_ABANDONED: the file is replaced whole,
    // so what it left is still a complete state.
    if (FMutex) WaitForSingleObject(FMutex, INFINITE);
    std::string text;
    FReadOk = FMutex && ReadWhole(Place().StateFile, text);
    State = ParseStandinState(text);
    if (!FReadOk) return;
    const uint64_t now = NowMs();
    const std::vector<TStandinConnection> answered = State.AnswerDue(now);
    // Logged only once kept: a state that cannot be written leaves the calls to the next look.
    if (answered.empty() || !Save(true)) return;
    for (const TStandinConnection& c : answered)
        Log("answered " + std::to_string(c.Handle) + " \"" + c.Entry + "\" " + c.Number +
            " after " + std::to_string(now - c.DialledAt) + " ms");
}

TSession::~TSession()
{
    if (FMutex) {
        ReleaseMutex(FMutex);
        CloseHandle(FMutex);
    }
}

// Written to a new file that then replaces the old one, so that a process killed in the middle
// never leaves half a state.
bool TSession::Save(bool connectionsChanged)
{
    std::vector<HANDLE> watchers;
    if (connectionsChanged) {
        std::vector<uint32_t> alive;
        for (uint32_t pid : State.Watchers) {
            // A watcher's event goes with its process: one that cannot be opened is gone.
            HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, WatchEventName(pid).c_str());
            if (!event) continue;
            alive.push_back(pid);
            watchers.push_back(event);
        }
        State.Watchers = alive;
    }
    const std::string& path = Place().StateFile;
    const std::string temporary = path + ".new";
    bool ok = WriteWhole(temporary, FormatStandinState(State), CREATE_ALWAYS) &&
              MoveFileExA(temporary.c_str(), path.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    for (HANDLE event : watchers) {
        SetEvent(event);
        CloseHandle(event);
    }
    return ok;
}

// Written while the mutex is held, so lines of different processes never mix.
void TSession::Log(const std::string& what)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u pid %lu ", t.wYear,
                  t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds,
                  static_cast<unsigned long>(GetCurrentProcessId()));
    WriteWhole(Place().LogFile, stamp + ProcessName() + ": " + what + "\r\n", OPEN_ALWAYS);
}
