// The picture echo: one picture drawn ten times over itself, each copy a
// little larger and pushed sideways, under two lines of outline-font text
// scrolling from right to left. Trigger 4 restarts the scroll.
#pragma once

#include "orvan_effect.h"

ORVAN_EFFECT_CLASS(Quillet_Plugin, "Quillet Plugin");
