#pragma once

#include <cstdint>

// Where a window of the given extent starts so that it sits in the middle of
// the screen, all in twips: floor((screen − window) / 2). Negative when the
// screen is smaller than the window, which then reaches past both edges.
std::int64_t centredPosition(double screenTwips, double windowTwips);
