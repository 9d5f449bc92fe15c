#pragma once
// Port: the program's own process and the child programs it starts. The other processes of the
// system are listed and ended through ProcessWalk.h.
#include <cstdint>
#include <string>

// The show commands of ShowWindow that the program passes on.
enum TShowCommand : int { swHide = 0, swShowNormal = 1, swShow = 5 };

// Results of RunAndWait besides a real exit code.
constexpr int kRunNotStarted = -1;  // the process could not be created
constexpr int kRunNoExitCode = -2;  // it ran, but its exit code could not be read
constexpr int kRunTimedOut = -3;    // it did not end in time and was killed

class IProcesses {
public:
    virtual ~IProcesses() = default;
    // Full path of the running program's own file. Linux gives it with "\" separators, the way
    // the portable logic builds paths, so that the path operations find its folder.
    virtual std::string ProgramPath() = 0;
    // Starts a child with this command line (program path first, as CreateProcess takes it),
    // without handle inheritance, with the caller's environment and current folder, its main
    // window shown as showCommand. Waits until the child is idle for input, then until it has
    // ended, but at most timeoutMs in all: a child still running then is killed and the result
    // is kRunTimedOut. Otherwise the child's exit code, or kRunNotStarted / kRunNoExitCode.
    virtual int RunAndWait(const std::string& commandLine, int showCommand, uint32_t timeoutMs) = 0;
    // Starts a child as RunAndWait does but does not wait for it: the caller may end before the
    // child. A batch file given as the program is run by the command interpreter. False when
    // the process could not be created.
    virtual bool Start(const std::string& commandLine, int showCommand) = 0;
};

IProcesses& SystemProcesses();

// The command line that runs a batch file where CreateProcess cannot take one as the program:
// the Windows 95 family starts only real programs, so there the command interpreter (comspec,
// COMMAND.COM, "command.com" when unknown) is given the batch, with room in its environment
// for the variables the batch sets. Any other command line, and every one on the NT family,
// whose CreateProcess runs a batch through cmd.exe itself, is returned as it is.
std::string CommandLineForStart(const std::string& commandLine, bool windows95Family,
                                const std::string& comspec);

