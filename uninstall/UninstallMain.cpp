// Entry of the uninstaller. It has no windows of its own; the program flow joins it as the
// uninstaller's units are built.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
