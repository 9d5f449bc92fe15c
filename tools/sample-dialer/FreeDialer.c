/* FreeDialer: a harmless imitation of a "dialer", for tests and demonstrations of the guard.
   It does what such programs did: starts with Windows (a value under the machine's Run key),
   puts a shortcut to itself on the desktop, adds a phonebook entry with a premium-rate number,
   dials it, and stays running. RAS is bound at run time by name, so the text of the dialling
   function's name is in the file, which is what the guard's dialer test looks for.

   Switches, to leave steps out in tests:
     /entry NAME    the phonebook entry (default "Darmowy Internet")
     /number N      its number (default 0700123456)
     /norun /nolink /nodial
     /exit          end after the steps instead of staying

   Exit code: 0, or the number of the step that failed (1 Run key, 2 shortcut, 3 entry, 4 dial).
   On Windows it would really dial; run it only where RAS is the stand-in or there is no modem. */
#include <windows.h>
#include <ras.h>
#include <shlobj.h>
#include <stdio.h>
#include <string.h>

typedef DWORD(WINAPI* TSetEntryProperties)(LPCSTR, LPCSTR, LPRASENTRYA, DWORD, LPBYTE, DWORD);
typedef DWORD(WINAPI* TDial)(LPRASDIALEXTENSIONS, LPCSTR, LPRASDIALPARAMSA, DWORD, LPVOID,
                             LPHRASCONN);

static const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char kRunValue[] = "FreeDialer";

static int StartWithWindows(const char* self)
{
    HKEY key;
    LONG result;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return 0;
    result = RegSetValueExA(key, kRunValue, 0, REG_SZ, (const BYTE*)self, (DWORD)strlen(self) + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

static int PutShortcutOnDesktop(const char* self, const char* name)
{
    char desktop[MAX_PATH], link[MAX_PATH];
    WCHAR wideLink[MAX_PATH];
    IShellLinkA* shellLink = NULL;
    IPersistFile* file = NULL;
    int ok = 0;
    if (!SHGetSpecialFolderPathA(NULL, desktop, CSIDL_DESKTOPDIRECTORY, TRUE)) return 0;
    if (_snprintf(link, sizeof link, "%s\\%s.lnk", desktop, name) < 0) return 0;
    link[sizeof link - 1] = '\0';
    if (!MultiByteToWideChar(CP_ACP, 0, link, -1, wideLink, MAX_PATH)) return 0;

    if (FAILED(CoInitialize(NULL))) return 0;
    if (SUCCEEDED(CoCreateInstance(&CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, &IID_IShellLinkA,
                                   (void**)&shellLink))) {
        shellLink->lpVtbl->SetPath(shellLink, self);
        shellLink->lpVtbl->SetDescription(shellLink, name);
        if (SUCCEEDED(shellLink->lpVtbl->QueryInterface(shellLink, &IID_IPersistFile,
                                                        (void**)&file))) {
            ok = SUCCEEDED(file->lpVtbl->Save(file, wideLink, TRUE));
            file->lpVtbl->Release(file);
        }
        shellLink->lpVtbl->Release(shellLink);
    }
    CoUninitialize();
    return ok;
}

static int AddEntry(HMODULE ras, const char* name, const char* number)
{
    TSetEntryProperties setEntry =
            (TSetEntryProperties)(void*)GetProcAddress(ras, "RasSetEntryPropertiesA");
    RASENTRYA entry;
    if (!setEntry) return 0;
    ZeroMemory(&entry, sizeof entry);
    entry.dwSize = sizeof entry;
    entry.dwfNetProtocols = RASNP_Ip;
    entry.dwFramingProtocol = RASFP_Ppp;
    lstrcpynA(entry.szLocalPhoneNumber, number, sizeof entry.szLocalPhoneNumber);
    lstrcpynA(entry.szDeviceType, "modem", sizeof entry.szDeviceType);
    return setEntry(NULL, name, &entry, sizeof entry, NULL, 0) == 0;
}

static int Dial(HMODULE ras, const char* name)
{
    TDial dial = (TDial)(void*)GetProcAddress(ras, "RasDialA");
    RASDIALPARAMSA params;
    HRASCONN connection = NULL;
    if (!dial) return 0;
    ZeroMemory(&params, sizeof params);
    params.dwSize = sizeof params;
    lstrcpynA(params.szEntryName, name, sizeof params.szEntryName);
    return dial(NULL, NULL, &params, 0, NULL, &connection) == 0;
}

int main(int argc, char** argv)
{
    const char* entry = "Darmowy Internet";
    const char* number = "0700123456";
    int run = 1, link = 1, dial = 1, stay = 1, i;
    char self[MAX_PATH];
    HMODULE ras;

    for (i = 1; i < argc; ++i) {
        if (!lstrcmpiA(argv[i], "/entry") && i + 1 < argc)
            entry = argv[++i];
        else if (!lstrcmpiA(argv[i], "/number") && i + 1 < argc)
            number = argv[++i];
        else if (!lstrcmpiA(argv[i], "/norun"))
            run = 0;
        else if (!lstrcmpiA(argv[i], "/nolink"))
            link = 0;
        else if (!lstrcmpiA(argv[i], "/nodial"))
            dial = 0;
        else if (!lstrcmpiA(argv[i], "/exit"))
            stay = 0;
    }
    i = (int)GetModuleFileNameA(NULL, self, sizeof self);
    if (i <= 0 || i >= (int)sizeof self) return 1;

    if (run && !StartWithWindows(self)) return 1;
    if (link && !PutShortcutOnDesktop(self, entry)) return 2;
    ras = LoadLibraryA("rasapi32.dll");
    if (!ras || !AddEntry(ras, entry, number)) return 3;
    if (dial && !Dial(ras, entry)) return 4;
    while (stay) Sleep(60000);
    return 0;
}
