// The cube arms effect: six curling arms of shrinking lit cubes leaving a
// spinning centre; trigger 3 shifts its time.
#pragma once

#include "orvan_effect.h"

ORVAN_EFFECT_CLASS(Sorvel2_Plugin, "Sorvels 2 plugin");
