#include "core/intro/IntroCentring.h"

#include "core/rounding/Rounding.h"

std::int64_t centredPosition(double screenTwips, double windowTwips)
{
    return floorToInt((screenTwips - windowTwips) / 2.0);
}
