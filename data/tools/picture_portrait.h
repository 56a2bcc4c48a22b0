// Stylised portraits drawn from shapes: background, shoulders, hair, a shaded
// head, eyes, brows, nose and mouth, with a few optional extras.
#pragma once

#include "picture.h"

enum class HairStyle { Long, Short, Bun, Spiky };

struct PortraitStyle {
    Rgb backgroundTop, backgroundBottom;
    int backgroundRings;  // rings around the head; 0 for diagonal stripes
    Rgb skin, hair, iris, lips, clothes;
    HairStyle hairStyle;
    double headWidth;  // half-width of the head, about 0.4 to 0.48
    double gaze;       // sideways look of the eyes, -1 to 1
    bool glasses, earrings, beard;
};

Picture MakePortrait(int size, const PortraitStyle& style);
