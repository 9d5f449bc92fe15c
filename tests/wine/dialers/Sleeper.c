/* A process for the walk to find and kill: it only waits. It gives up after two minutes, so that
   one left behind by an interrupted test run does not live on. */
#include <windows.h>

int main(void)
{
    Sleep(120000);
    return 7;
}
