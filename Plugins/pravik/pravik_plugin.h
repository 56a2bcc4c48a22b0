// The interference effect: three turning stripe gratings, blended
// additively into a moire pattern.
#pragma once

#include "orvan_effect.h"

ORVAN_EFFECT_CLASS(Pravik_Plugin, "Interference Plugin");
