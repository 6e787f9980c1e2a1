#pragma once

#include <QtGlobal>

// The main window's page state. Truth values are 16-bit: true is -1.
struct PageState {
    static constexpr qint16 kTrue = -1;
    static constexpr qint16 kFalse = 0;

    int CurrentPage = 1;
    int PageCount = 0;
    qint16 PageChanged = kFalse;
};
