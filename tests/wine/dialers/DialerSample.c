/* Looks up the ANSI dialling function of the Remote Access Service by name, as a dialer does;
   it never calls it. */
#include <windows.h>

int main(int argc, char** argv)
{
    HMODULE ras = LoadLibraryA("rasapi32.dll");
    FARPROC dial = ras ? GetProcAddress(ras, "RasDialA") : NULL;
    if (ras) FreeLibrary(ras);
    return dial != NULL && argc > 99 ? 1 : 0;
}
