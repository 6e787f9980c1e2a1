#include "core/intro/IntroColours.h"

#include "core/intro/IntroRandom.h"
#include "core/rounding/Rounding.h"

#include <array>
#include <cassert>

namespace {

constexpr std::array<ColorRef, IntroColours::kCount> kTable{
    rgbColour(0, 0, 0),       rgbColour(0, 0, 128),     rgbColour(0, 128, 0),
    rgbColour(0, 128, 128),   rgbColour(128, 0, 0),     rgbColour(128, 0, 128),
    rgbColour(128, 128, 0),   rgbColour(192, 192, 192), rgbColour(128, 128, 128),
    rgbColour(0, 0, 255),     rgbColour(0, 255, 0),     rgbColour(0, 255, 255),
    rgbColour(255, 0, 0),     rgbColour(255, 0, 255),   rgbColour(255, 255, 0),
    rgbColour(255, 255, 255),
};

} // namespace

ColorRef IntroColours::colour(int number)
{
    assert(number >= 0 && number < kCount);
    return kTable.at(static_cast<std::size_t>(number));
}

int IntroColours::colourNumber(double r)
{
    return static_cast<int>(roundHalfEven(r * 15.0));
}

int IntroColours::draw(IntroRandom& random)
{
    return colourNumber(random.next());
}
