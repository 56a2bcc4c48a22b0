// The zoom blur effect: a copy of the frame drawn back over it ten times,
// additively, growing, drifting sideways and fading.
#pragma once

#include "orvan_effect.h"

ORVAN_EFFECT_CLASS(Dunmore2_Plugin, "Blur Filter Fuckup Plugin");
