#include "app/SystemDesktop.h"

#include <cstdio>

#include <windows.h>

bool SystemDesktop::available()
{
    return true;
}

void SystemDesktop::useStartingTerminal()
{
    // Output already sent to a file or a pipe stays there.
    if (GetStdHandle(STD_ERROR_HANDLE) != nullptr || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}
