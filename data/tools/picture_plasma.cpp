#include "picture_plasma.h"

#include <cmath>

namespace {

const double kTwoPi = 6.28318530717958647692;

double Channel(double offset, double amplitude, double frequency, double phase, double t)
{
    return offset + amplitude * std::cos(kTwoPi * (frequency * t + phase));
}

}  // namespace

Picture MakePlasma(int width, int height, const PlasmaStyle& s)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        double v = double(y) / height;
        for (int x = 0; x < width; ++x) {
            double u = double(x) / width;
            double a = std::sin(kTwoPi * (s.waves[0] * u + s.waves[1] * v));
            double b = std::sin(kTwoPi * (s.waves[2] * v - s.waves[3] * u) + s.warp * a);
            double c = std::sin(kTwoPi * (s.waves[4] * u + s.waves[5] * v) + s.warp * b);
            double d = std::sin(kTwoPi * (u + v) + s.warp * c);
            double t = 0.5 + (a + b + c + d) / 8.0;
            Rgb& p = picture.At(x, y);
            p.r = s.brightness * Channel(s.offset.r, s.amplitude.r, s.frequency.r, s.phase.r, t);
            p.g = s.brightness * Channel(s.offset.g, s.amplitude.g, s.frequency.g, s.phase.g, t);
            p.b = s.brightness * Channel(s.offset.b, s.amplitude.b, s.frequency.b, s.phase.b, t);
        }
    }
    return picture;
}
