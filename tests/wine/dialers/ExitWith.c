/* Ends with the exit code given as its first argument; "sleep" instead waits for a minute, as an
   unpacker that hangs would. */
#include <windows.h>

#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc > 1 && strcmp(argv[1], "sleep") == 0) {
        Sleep(60000);
        return 0;
    }
    return argc > 1 ? atoi(argv[1]) : 0;
}
