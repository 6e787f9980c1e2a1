#include "intro/IntroCentring.h"

#include "geometry/Units.h"

std::int64_t centredPosition(double screenTwips, double windowTwips)
{
    return floorToInt((screenTwips - windowTwips) / 2.0);
}
