#include "app/SystemDesktop.h"

#include <QtGlobal>

bool SystemDesktop::available()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

void SystemDesktop::useStartingTerminal()
{
    // A program started from a terminal writes to it already.
}
