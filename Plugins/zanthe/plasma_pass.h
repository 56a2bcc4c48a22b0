// The four passes of four tinted quads drawn over the base quad.
#pragma once

// The time of pass p (0 to 3) from the time of the pass before it (the
// base time t0 for pass 0): each pass runs 1.25 times faster, passes 1 and 3
// turn the direction round.
float NextPassTime(float t, int pass);

// Quads A, B, C and D of one pass at its pass time, each in its own
// push/pop pair on top of the current modelview.
void DrawPlasmaPass(int pass, float t);
