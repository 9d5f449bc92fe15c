#include "uninstall/MIUninst.h"

#include "common/Paths.h"
#include "common/Product.h"
#include "common/StrUtils.h"
#include "uninstall/SetupBuildEngine.h"
#include "uninstall/Texts.h"

namespace {

// The application's name as the user sees it: the log's, or when that is blank the program
// file's, so that the question never asks about nothing.
std::string AppTitleOf(const std::string& appName, const std::string& program)
{
    return Trim(appName).empty() ? ExtractFileName(program) : appName;
}

// Asks the programs among the logged files to close; one that stays is named in a Retry/Cancel
// box. False when the user cancels.
bool CloseRunningPrograms(const TUninstallPorts& ports, const TInstallerLog& log,
                          const std::string& caption, TLanguage language)
{
    // A log may name a file by its 8.3 alias, and the system names the running program by its
    // long path: both forms are looked for.
    std::vector<std::string> files;
    for (int i = 0; i < log.Files.Count(); ++i) {
        files.push_back(log.Files.Text(i));
        files.push_back(LongFormOf(ports.Files, log.Files.Text(i)));
    }
    const auto retry = [&](const std::string& program) {
        const std::string text =
                WithDetail(GetText(TUninstallText::ProgramStillRunning, language), program) +
                "\n\n" + GetText(TUninstallText::RetryOrCancel, language);
        return ports.Messages.Show(text, caption, TMsgButtons::RetryCancel, TMsgIcon::Error) ==
               TMsgResult::Retry;
    };
    return CloseProgramsUsing(ports.Close, files, retry, kGuardMainWindowClass).Closed;
}

}  // namespace

bool RunUninstall(const TUninstallPorts& ports, TLanguage language)
{
    const std::string program = ports.Processes.ProgramPath();
    TUninstall engine(ports);
    if (!engine.LoadPackage(program)) return false;
    // A log that did not parse has been reported by its reader; going on would ask to remove
    // something that cannot be removed.
    if (!engine.LogLoaded()) return false;

    const std::string appTitle = AppTitleOf(engine.AppName, program);
    const std::string caption = appTitle + " - " + GetText(TUninstallText::Caption, language);
    const std::string text =
            WithDetail(GetText(TUninstallText::ConfirmRemoval, language), appTitle);
    if (ports.Messages.Show(text, caption, TMsgButtons::YesNo, TMsgIcon::Question,
                            TMsgDefault::Second) != TMsgResult::Yes)
        return false;
    // The guard is resident: a running program cannot be removed, and would go on running
    // from a half-removed folder.
    engine.BeforeRemoval = [&] {
        return CloseRunningPrograms(ports, engine.Log, caption, language);
    };
    return engine.Execute();
}

int UninstallProgram(const TUninstallPorts& ports, uint32_t systemLcid)
{
    const TLanguage language = LanguageIndexOf(systemLcid);
    try {
        RunUninstall(ports, language);
    } catch (const std::exception& e) {
        ports.Messages.Show(e.what(), GetText(TUninstallText::Caption, language), TMsgButtons::Ok,
                            TMsgIcon::Error);
        return 1;
    }
    return 0;
}
