// An RGB picture being drawn, and its writing as a JPEG through DevIL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    double r = 0.0, g = 0.0, b = 0.0;
};

inline Rgb Mix(const Rgb& a, const Rgb& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

inline Rgb Scale(const Rgb& c, double k) { return {c.r * k, c.g * k, c.b * k}; }

// Rows top to bottom, as the picture is seen; colours in [0, 1].
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Picture(int w, int h) : width(w), height(h), pixels(size_t(w) * size_t(h)) {}
    Rgb& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Writes picture as a 3-channel JPEG of the given quality, replacing path.
// False with error set on failure. Needs ilInit() to have run.
bool SaveJpeg(const Picture& picture, const std::string& path, int quality, std::string& error);
