#pragma once

#include "core/geometry/DisplayZoom.h"
#include "core/settings/Settings.h"

// What main() decides once, before the first window shows, and hands to each
// window: the zoom they are drawn at and the grown-ups' choices as the book
// opens.
struct WindowState {
    DisplayZoom zoom;
    Settings settings;
};
