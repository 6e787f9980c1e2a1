#pragma once

#include <QString>

// The reason an operating-system call failed, said in Spanish: the C
// library's own words follow the system's language, not the program's.
QString systemReason(int error);
