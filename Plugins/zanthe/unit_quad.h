// The textured square from (-1, -1) to (1, 1) in the current modelview frame,
// the picture spread over it once.
#pragma once

void DrawUnitQuad();
