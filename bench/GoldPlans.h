#pragma once

#include "import/GoldSet.h"

// Drawings the import benchmark adds besides the gold set's shapes, each
// with the parts real colouring pages are hard on.
namespace GoldPlans {

// Six closed strips, 2 to 8 points across, at slight slants.
const GoldSet::Plan& strips();

// Three rings 3, 5 and 8 points across, around their discs.
const GoldSet::Plan& rings();

// Flat colour areas with and without dark outlines: a dark leaf, a yellow
// beak, a grey chessboard, a gold frame, a shaded sky and a shaded ball.
const GoldSet::Plan& cartoon();

// A dark frame cut into nine cells by faint grey lines, for grey paper.
const GoldSet::Plan& faint();

// Bold outlines, 8 to 16 points across: a hat and three rings.
const GoldSet::Plan& bold();

// Outlined clip art on a shaded sky: a hill, clouds, a sun, a house.
const GoldSet::Plan& clipArt();

} // namespace GoldPlans
