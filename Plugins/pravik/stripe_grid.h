// One grating of translucent white bars in the current modelview frame.
#pragma once

void DrawStripeGrid();
