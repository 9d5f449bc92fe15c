// Entry of the uninstaller. It has no windows of its own: the whole run is the portable flow
// over the system's ports.
#include <windows.h>

#include "platform/Locale.h"
#include "uninstall/MIUninst.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TUninstallPorts ports{SystemFileSystem(),
                          SystemRegistry(),
                          SystemProfile(),
                          SystemShell(),
                          SystemProcesses(),
                          SystemMessageBox(),
                          {SystemProcessWalk(), SystemProcessWindows(), SystemClock()}};
    return UninstallProgram(ports, SystemLocale().SystemDefaultLcid());
}
