// Plasma pictures: sums of warped sine waves through a cosine palette. Every
// wave has a whole number of periods across the picture, so it tiles.
#pragma once

#include "picture.h"

struct PlasmaStyle {
    int waves[6];       // periods across the picture for the three warped waves
    double warp;        // how strongly each wave bends the next
    Rgb offset, amplitude, frequency, phase;  // palette: offset + amplitude * cos(2pi (frequency t + phase))
    double brightness;  // overall scale of the palette
};

Picture MakePlasma(int width, int height, const PlasmaStyle& style);
