// The sheet of 32 x 32 textured quads, its columns pushed in depth by a sine
// wave whose phase swings with time.
#pragma once

// t: stream time in tenths of a second. One glBegin/glEnd pair for the whole
// sheet, in the current modelview frame, with opaque white as the colour.
void DrawWaveSheet(float t);
