// The blob sphere effect: a lit, spinning sphere pushed out by sine waves of
// its own coordinates and clamped to a cube; trigger 2 sets its size.
#pragma once

#include "orvan_effect.h"

ORVAN_EFFECT_CLASS(Tessik_Plugin, "Tessik Plugin");
