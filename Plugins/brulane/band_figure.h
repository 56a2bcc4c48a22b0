// A figure of revolution about the y axis: 34 rings of white quads with a
// band of red quads at two steps of every three, as one quad batch. Sends
// no normals.
#pragma once

void DrawBandFigure();
