#pragma once
// What the uninstaller reaches the machine through. The program entry fills it with the
// system's ports; tests fill it with fakes.
#include "platform/ChildPrograms.h"
#include "platform/CloseRequest.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

struct TUninstallPorts {
    IFileSystem& Files;
    IRegistry& Registry;
    IProfile& Profile;
    IShell& Shell;
    IProcesses& Processes;
    IMessageBox& Messages;
    // The running programs, asked to close before their files are removed.
    TClosePorts Close;
    // The code page the command interpreter reads the removal batch in: the OEM one.
    ICodePage& BatchCodePage = SystemOemCodePage();
};
