// Entry of the setup: it reads the files it carries from the end of its own program file, then
// installs them without a window (/S) or through its one window.
#include <windows.h>

#include <commctrl.h>

#include "common/Paths.h"
#include "installer/Install.h"
#include "installer/SetupRules.h"
#include "installer/SetupTexts.h"
#include "installer/win32/SetupShellWin32.h"
#include "installer/win32/SetupWindow.h"
#include "platform/Locale.h"
#include "platform/MessageBox.h"
#include "platform/SystemVersion.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/WinTextSystem.h"
#include "uninstall/Texts.h"

namespace {

// One setup at a time: two would back up, replace and take back the same files. The name is
// ASCII, for the A form every system has; the 95 family and NT 4 know no "Local\\" namespace
// and refuse a backslash, and there the plain name names their one session.
constexpr char kSetupMutexName[] = "Local\\MLinewarden.Setup";

// The setup carries well under a megabyte; a program file beyond this is not ours.
constexpr int64_t kMaxProgramSize = 16 << 20;

bool ReadOwnFile(IFileSystem& files, const std::string& path, std::string& bytes)
{
    auto file = files.OpenRead(path);
    if (!file) return false;
    const int64_t size = file->Size();
    if (size <= 0 || size > kMaxProgramSize) return false;
    bytes.assign(static_cast<size_t>(size), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const int64_t n = file->Read(&bytes[done], bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The log of a silent run that went wrong, in the temporary folder; "" when there is none.
std::string FailureLog(IFileSystem& files)
{
    const std::string temp = files.TemporaryFolder();
    return temp.empty() ? "" : temp + "MLinewardenSetup.log";
}

// In silent mode nobody sees a box: the reason goes to a log in the temporary folder.
void ReportFailure(bool silent, IFileSystem& files, TLanguage language, const std::string& reason)
{
    if (silent) {
        // UTF-8 with its byte-order mark, which Notepad needs to show the Polish letters.
        const std::string log = FailureLog(files);
        if (!log.empty()) files.WriteFile(log, "\xEF\xBB\xBF" + reason + "\r\n");
    } else {
        SystemMessageBox().Show(reason, SetupText(TSetupText::Caption, language), TMsgButtons::Ok,
                                TMsgIcon::Error);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const TLanguage language = LanguageIndexOf(SystemLocale().SystemDefaultLcid());
    const TSetupCommandLine options = ParseSetupArguments(ArgumentsOf(GetCommandLineU()));
    IFileSystem& files = SystemFileSystem();

    TKernelHandle running(CreateMutexA(nullptr, FALSE, kSetupMutexName));
    if (!running) running.reset(CreateMutexA(nullptr, FALSE, kSetupMutexName + kLocalPrefixLength));
    if (running && GetLastError() == ERROR_ALREADY_EXISTS) {
        ReportFailure(options.Silent, files, language,
                      SetupText(TSetupText::Failed, language,
                                SetupText(TSetupText::AlreadyRunning, language)));
        return kSetupFailed;
    }

    std::string program;
    std::vector<TPayloadFile> payload;
    if (!ReadOwnFile(files, SystemProcesses().ProgramPath(), program) ||
        ReadPayload(program, payload) != TPayloadError::None) {
        ReportFailure(options.Silent, files, language,
                      SetupText(TSetupText::Failed, language,
                                SetupText(TSetupText::DamagedSetup, language)));
        return kSetupFailed;
    }
    program.clear();

    TSetupShellWin32 setupShell;
    TSetupPorts ports{files,
                      SystemRegistry(),
                      SystemProfile(),
                      SystemShell(),
                      SystemProcesses(),
                      SystemLocalTime(),
                      setupShell,
                      {SystemProcessWalk(), SystemProcessWindows(), SystemClock()}};
    TSetupInstaller setup(ports, std::move(payload),
                          InstallScopeFor(IsWindows95Family(SystemVersionWord())), language);
    const std::string folder = options.Folder.empty() ? setup.ProposedFolder() : options.Folder;

    TSetupWindowResult result{kSetupFailed, true};
    if (options.Silent) {
        std::string failure;
        if (setup.Install({folder, setup.ProposedAutoStart(folder), nullptr}, nullptr, failure)) {
            result.ExitCode = kSetupInstalled;
            // An earlier run's reason would be read as this run's.
            const std::string log = FailureLog(files);
            if (!log.empty()) files.EraseFile(log);
        } else {
            ReportFailure(true, files, language, SetupText(TSetupText::Failed, language, failure));
        }
    } else {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        result = RunSetupWindow(setup, folder, language);
    }
    // The installation stands, and its exit code says so: a script that sees a failure would
    // install again for nothing. A guard that would not start is told all the same (in the log
    // of a silent run), since the machine is unguarded until it runs.
    if (result.ExitCode == kSetupInstalled && setup.GuardWanted(result.StartGuard) &&
        !setup.StartGuard(result.StartGuard))
        ReportFailure(options.Silent, files, language,
                      SetupText(TSetupText::GuardNotStarted, language, setup.InstalledGuard()));
    return result.ExitCode;
}
