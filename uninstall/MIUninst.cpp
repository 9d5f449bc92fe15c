#include "uninstall/MIUninst.h"

#include "common/Paths.h"
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
