// The cube with corners at +-1 as six quads, one normal per face, wound
// counter-clockwise seen from outside.
#pragma once

void DrawCube();
