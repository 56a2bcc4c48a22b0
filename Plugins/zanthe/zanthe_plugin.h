// The plasma layers effect: seventeen turning, tinted quads of four pictures,
// blended additively over a cleared frame.
#pragma once

#include "orvan_effect.h"

ORVAN_EFFECT_CLASS(Zanthe_Plugin, "Zanthe Plugin");
