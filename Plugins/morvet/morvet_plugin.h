// The wave sheet effect: one picture, a portrait or one of the host's render
// targets, on a sheet of quads rippled in depth by a swinging sine wave.
#pragma once

#include "orvan_effect.h"

ORVAN_EFFECT_CLASS(Morvet_Plugin, "Morvet Plugin");
