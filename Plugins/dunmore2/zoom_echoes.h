// The ten additive copies of the captured frame.
#pragma once

// seconds: stream time. Starts from the current modelview frame, which the
// copies' scales and shifts leave accumulated. Expects the copy's texture
// bound and additive blending set.
void DrawZoomEchoes(float seconds);
