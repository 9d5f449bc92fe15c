#include "uninstall/MIUninst.h"

#include "common/Paths.h"
#include "common/Product.h"
#include "common/StrUtils.h"
#include "uninstall/SetupBuildEngine.h"
#include "uninstall/Texts.h"

std::string AppTitle;

namespace {

// The confirmation names the application; "%s" stands for it. Replaced literally, so that a
// name with a percent sign is shown as it is.
std::string WithName(const std::string& text, const std::string& name)
{
    const size_t at = text.find("%s");
    return at == std::string::npos ? text : text.substr(0, at) + name + text.substr(at + 2);
}

// Asks the programs among the logged files to close; one that stays is named in a Retry/Cancel
// box. False when the user cancels.
bool CloseRunningPrograms(const TUninstallPorts& ports, const TInstallerLog& log,
                          const std::string& caption)
{
    // A log may name a file by its 8.3 alias, and the system names the running program by its
    // long path: both forms are looked for.
    std::vector<std::string> files;
    for (int i = 0; i < log.Files.Count(); ++i) {
        files.push_back(log.Files.Text(i));
        files.push_back(LongFormOf(ports.Files, log.Files.Text(i)));
    }
    const auto retry = [&](const std::string& program) {
        const std::string text = WithName(GetText(txProgramStillRunning), program) + "\n\n" +
                                 GetText(txRetryOrCancel);
        return ports.Messages.Show(text, caption, TMsgButtons::RetryCancel, TMsgIcon::Error) ==
               TMsgResult::Retry;
    };
    return CloseProgramsUsing(ports.Close, files, retry, kGuardMainWindowClass).Closed;
}

}  // namespace

bool RunUninstall(const TUninstallPorts& ports)
{
    const std::string program = ports.Processes.ProgramPath();
    TUninstall engine(ports);
    if (!engine.LoadPackage(program)) return false;
    // A log that did not parse has been reported by its reader; going on would ask to remove
    // something that cannot be removed.
    if (!engine.LogLoaded()) return false;

    AppTitle = Trim(engine.AppName).empty() ? ExtractFileName(program) : engine.AppName;
    const std::string caption = AppTitle + " - " + GetText(txUninstallCaption);
    const std::string text = WithName(GetText(txConfirmRemoval), AppTitle);
    if (ports.Messages.Show(text, caption, TMsgButtons::YesNo, TMsgIcon::Question,
                            TMsgDefault::Second) != TMsgResult::Yes)
        return false;
    // The guard is resident: a running program cannot be removed, and would go on running
    // from a half-removed folder.
    engine.BeforeRemoval = [&] { return CloseRunningPrograms(ports, engine.Log, caption); };
    return engine.Execute();
}

int UninstallProgram(const TUninstallPorts& ports, uint32_t systemLcid)
{
    InitTexts(systemLcid);
    int code = 0;
    try {
        RunUninstall(ports);
    } catch (const std::exception& e) {
        ports.Messages.Show(e.what(), GetText(txUninstallCaption), TMsgButtons::Ok,
                            TMsgIcon::Error);
        code = 1;
    }
    AppTitle.clear();
    return code;
}
