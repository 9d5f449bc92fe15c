// Child programs over posix_spawn. The portable logic builds Windows command lines, so the line
// is split into arguments by the rules Windows programs apply to their own command line.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/ChildPrograms.h"
#include "platform/posix/PosixPath.h"

extern char** environ;

namespace {

// Blanks separate arguments outside quotation marks; a quotation mark toggles quoting; 2n
// backslashes before a quotation mark stand for n backslashes, 2n+1 for n and a literal mark;
// other backslashes are literal.
std::vector<std::string> SplitCommandLine(const std::string& line)
{
    std::vector<std::string> args;
    std::string current;
    bool inArg = false, quoted = false;
    for (size_t i = 0; i < line.size();) {
        char c = line[i];
        if (c == '\\') {
            size_t run = 0;
            while (i < line.size() && line[i] == '\\') ++run, ++i;
            if (i < line.size() && line[i] == '"') {
                current.append(run / 2, '\\');
                if (run % 2) current += '"', ++i;
            } else {
                current.append(run, '\\');
            }
            inArg = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArg = true;
            ++i;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArg) args.push_back(current);
            current.clear();
            inArg = false;
            ++i;
        } else {
            current += c;
            inArg = true;
            ++i;
        }
    }
    if (inArg) args.push_back(current);
    return args;
}

// Starts the program of a Windows command line. The child leads a process group of its own, so
// that a child that must be killed takes the programs it started with it.
bool Spawn(const std::string& commandLine, pid_t& pid)
{
    std::vector<std::string> args = SplitCommandLine(commandLine);
    if (args.empty() || args[0].empty()) return false;
    args[0] = NativePath(args[0]);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    int rc = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return rc == 0;
}

class TPosixProcesses : public IProcesses {
public:
    std::string ProgramPath() override
    {
        std::vector<char> buffer(256);
        for (;;) {
            ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
            if (n < 0) return std::string();
            if (static_cast<size_t>(n) < buffer.size()) {
                std::string path(buffer.data(), static_cast<size_t>(n));
                for (char& c : path)
                    if (c == '/') c = '\\';
                return path;
            }
            buffer.resize(buffer.size() * 2);
        }
    }

    bool Start(const std::string& commandLine, int /*showCommand*/) override
    {
        pid_t pid;
        return Spawn(commandLine, pid);
    }

    int RunAndWait(const std::string& commandLine, int /*showCommand*/, uint32_t timeoutMs) override
    {
        pid_t pid;
        if (!Spawn(commandLine, pid)) return kRunNotStarted;

        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        auto pause = std::chrono::microseconds(200);
        int status = 0;
        for (;;) {
            pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid) break;
            if (done < 0 && errno != EINTR) return kRunNoExitCode;
            if (Clock::now() >= deadline) {
                kill(-pid, SIGKILL);
                while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
                }
                return kRunTimedOut;
            }
            std::this_thread::sleep_for(pause);
            if (pause < std::chrono::milliseconds(10)) pause *= 2;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : kRunNoExitCode;
    }
};

}  // namespace

IProcesses& SystemProcesses()
{
    static TPosixProcesses processes;
    return processes;
}
