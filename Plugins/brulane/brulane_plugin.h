// The voxel box effect: a moving source stamped into a grid of floats that
// is blurred in place every frame; the live cells are drawn as additive
// cubes seen from a camera that always looks at the source.
#pragma once

#include "orvan_effect.h"

ORVAN_EFFECT_CLASS(Brulane_Plugin, "Brulane box Plugin");
