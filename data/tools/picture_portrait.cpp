#include "picture_portrait.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vec {
    double x, y;
};

Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
double Length(Vec v) { return std::sqrt(v.x * v.x + v.y * v.y); }

// Signed distances, negative inside. y grows downwards, as in the picture.
double Ellipse(Vec p, Vec centre, Vec radius)
{
    Vec q = p - centre;
    double k0 = Length({q.x / radius.x, q.y / radius.y});
    double k1 = Length({q.x / (radius.x * radius.x), q.y / (radius.y * radius.y)});
    return k1 > 0.0 ? k0 * (k0 - 1.0) / k1 : -std::min(radius.x, radius.y);
}

double Circle(Vec p, Vec centre, double radius) { return Length(p - centre) - radius; }

double Capsule(Vec p, Vec a, Vec b, double radius)
{
    Vec pa = p - a, ba = b - a;
    double h = std::clamp((pa.x * ba.x + pa.y * ba.y) / (ba.x * ba.x + ba.y * ba.y), 0.0, 1.0);
    return Length({pa.x - ba.x * h, pa.y - ba.y * h}) - radius;
}

double RoundBox(Vec p, Vec centre, Vec half, double radius)
{
    Vec q = {std::fabs(p.x - centre.x) - half.x + radius, std::fabs(p.y - centre.y) - half.y + radius};
    Vec outside = {std::max(q.x, 0.0), std::max(q.y, 0.0)};
    return Length(outside) + std::min(std::max(q.x, q.y), 0.0) - radius;
}

// Lambert shading of an ellipsoid seen face on, lit from the upper left.
double Shade(Vec p, Vec centre, Vec radius)
{
    double qx = (p.x - centre.x) / radius.x, qy = (p.y - centre.y) / radius.y;
    double qz = std::sqrt(std::max(0.0, 1.0 - qx * qx - qy * qy));
    const double lx = -0.45, ly = -0.55, lz = 0.70;
    double lambert = std::max(0.0, qx * lx + qy * ly + qz * lz);
    return 0.42 + 0.62 * lambert;
}

class Canvas {
public:
    Canvas(Picture& picture) : picture_(picture), pixel_(2.0 / picture.width) {}

    double Coverage(double distance) const { return std::clamp(0.5 - distance / pixel_, 0.0, 1.0); }

    template <typename Paint>
    void Layer(Paint paint)
    {
        for (int y = 0; y < picture_.height; ++y) {
            for (int x = 0; x < picture_.width; ++x) {
                Vec p = {(x + 0.5) * pixel_ - 1.0, (y + 0.5) * pixel_ - 1.0};
                Rgb colour;
                double alpha = paint(p, colour);
                if (alpha > 0.0)
                    picture_.At(x, y) = Mix(picture_.At(x, y), colour, std::min(alpha, 1.0));
            }
        }
    }

private:
    Picture& picture_;
    double pixel_;
};

}  // namespace

Picture MakePortrait(int size, const PortraitStyle& s)
{
    Picture picture(size, size);
    Canvas canvas(picture);
    const Vec headCentre = {0.0, -0.08};
    const Vec headRadius = {s.headWidth, 0.56};
    const Rgb darkHair = Scale(s.hair, 0.55);

    // Background: a gradient with soft rings around the head or stripes.
    canvas.Layer([&](Vec p, Rgb& c) {
        c = Mix(s.backgroundTop, s.backgroundBottom, (p.y + 1.0) / 2.0);
        double pattern = s.backgroundRings > 0 ? std::cos(Length(p - headCentre) * s.backgroundRings * 3.14159)
                                               : std::cos((p.x + p.y) * 14.0);
        double vignette = 1.0 - 0.35 * std::min(1.0, Length(p) / 1.4);
        c = Scale(c, (0.88 + 0.12 * pattern) * vignette);
        return 1.0;
    });

    // Shoulders, with a neckline.
    const Vec torsoCentre = {0.0, 1.32}, torsoRadius = {0.95, 0.62};
    canvas.Layer([&](Vec p, Rgb& c) {
        c = Scale(s.clothes, Shade(p, torsoCentre, torsoRadius));
        return canvas.Coverage(Ellipse(p, torsoCentre, torsoRadius));
    });

    // Hair behind the head.
    canvas.Layer([&](Vec p, Rgb& c) {
        double d;
        switch (s.hairStyle) {
        case HairStyle::Long:
            d = std::min(Ellipse(p, {0.0, -0.12}, {s.headWidth + 0.16, 0.68}),
                         RoundBox(p, {0.0, 0.35}, {s.headWidth + 0.16, 0.5}, 0.12));
            break;
        case HairStyle::Bun:
            d = std::min(Ellipse(p, {0.0, -0.2}, {s.headWidth + 0.05, 0.55}), Circle(p, {0.0, -0.78}, 0.2));
            break;
        case HairStyle::Spiky: {
            Vec q = p - Vec{0.0, -0.2};
            double angle = std::atan2(q.y, q.x);
            double spikes = 1.0 + 0.13 * std::fabs(std::sin(angle * 7.0)) * std::max(0.0, -std::sin(angle));
            d = Ellipse(p, {0.0, -0.2}, {(s.headWidth + 0.07) * spikes, 0.58 * spikes});
            break;
        }
        default:
            d = Ellipse(p, {0.0, -0.17}, {s.headWidth + 0.05, 0.55});
            break;
        }
        c = Scale(s.hair, Shade(p, {0.0, -0.2}, {s.headWidth + 0.2, 0.8}) * 0.85);
        return canvas.Coverage(d);
    });

    // Neck and ears.
    canvas.Layer([&](Vec p, Rgb& c) {
        c = Scale(s.skin, 0.72 - 0.25 * std::clamp((0.55 - p.y) / 0.25, 0.0, 1.0) + 0.1 * p.x);
        return canvas.Coverage(RoundBox(p, {0.0, 0.55}, {0.15, 0.3}, 0.06));
    });
    canvas.Layer([&](Vec p, Rgb& c) {
        c = Scale(s.skin, 0.8);
        return canvas.Coverage(std::min(Ellipse(p, {-s.headWidth, 0.0}, {0.07, 0.12}),
                                        Ellipse(p, {s.headWidth, 0.0}, {0.07, 0.12})));
    });

    // The head, shaded as a lit ellipsoid.
    canvas.Layer([&](Vec p, Rgb& c) {
        c = Scale(s.skin, Shade(p, headCentre, headRadius));
        return canvas.Coverage(Ellipse(p, headCentre, headRadius));
    });

    // Cheeks.
    canvas.Layer([&](Vec p, Rgb& c) {
        c = {0.9, 0.35, 0.35};
        double r = std::min(Length(p - Vec{-0.25, 0.15}), Length(p - Vec{0.25, 0.15}));
        return 0.3 * std::exp(-r * r / (2.0 * 0.05 * 0.05));
    });

    if (s.beard) {
        canvas.Layer([&](Vec p, Rgb& c) {
            c = Scale(s.hair, 0.8);
            double jaw = std::max(Ellipse(p, headCentre, {headRadius.x + 0.02, headRadius.y + 0.04}), 0.1 - p.y);
            double mouthHole = Ellipse(p, {0.0, 0.3}, {0.15, 0.06});
            return canvas.Coverage(std::max(jaw, -mouthHole));
        });
    }

    // Fringe: hair over the forehead down to a wavy line.
    canvas.Layer([&](Vec p, Rgb& c) {
        double line = s.hairStyle == HairStyle::Spiky ? -0.36 + 0.05 * std::fabs(std::sin(p.x * 14.0))
                      : s.hairStyle == HairStyle::Long ? -0.38 + 0.16 * std::clamp(p.x + 0.2, 0.0, 1.0) * 0.7
                                                       : -0.42 + 0.03 * std::cos(p.x * 10.0);
        double cap = std::max(Ellipse(p, {0.0, -0.1}, {headRadius.x + 0.03, 0.6}), p.y - line);
        c = Scale(s.hair, Shade(p, {0.0, -0.2}, {s.headWidth + 0.1, 0.7}));
        return canvas.Coverage(cap);
    });

    // Eyes: white, iris, pupil, highlight, lid.
    for (int side = -1; side <= 1; side += 2) {
        const Vec eye = {side * s.headWidth * 0.4, -0.04};
        const Vec white = {0.095, 0.05};
        const Vec look = {eye.x + s.gaze * 0.03, eye.y + 0.005};
        canvas.Layer([&](Vec p, Rgb& c) {
            c = {0.96, 0.95, 0.93};
            return canvas.Coverage(Ellipse(p, eye, white));
        });
        canvas.Layer([&](Vec p, Rgb& c) {
            double r = Length(p - look);
            c = Scale(s.iris, 0.7 + 0.5 * (r / 0.042));
            if (r < 0.019)
                c = {0.03, 0.03, 0.04};
            return canvas.Coverage(std::max(Circle(p, look, 0.042), Ellipse(p, eye, white)));
        });
        canvas.Layer([&](Vec p, Rgb& c) {
            c = {1.0, 1.0, 1.0};
            return canvas.Coverage(Circle(p, {look.x - 0.014, look.y - 0.014}, 0.011));
        });
        canvas.Layer([&](Vec p, Rgb& c) {
            c = Scale(s.skin, 0.35);
            double lid = std::max(std::fabs(Ellipse(p, eye, white)) - 0.008, p.y - eye.y + 0.01);
            return canvas.Coverage(lid);
        });
        canvas.Layer([&](Vec p, Rgb& c) {
            c = darkHair;
            Vec inner = {eye.x - side * 0.08, -0.15}, outer = {eye.x + side * 0.1, -0.17};
            return canvas.Coverage(Capsule(p, inner, outer, 0.02));
        });
        if (s.glasses) {
            canvas.Layer([&](Vec p, Rgb& c) {
                c = {0.12, 0.1, 0.1};
                return canvas.Coverage(std::fabs(Ellipse(p, eye, {0.14, 0.1})) - 0.012);
            });
        }
        if (s.earrings) {
            canvas.Layer([&](Vec p, Rgb& c) {
                c = Scale(Rgb{1.0, 0.8, 0.3}, Shade(p, {side * s.headWidth, 0.15}, {0.04, 0.04}) + 0.2);
                return canvas.Coverage(Circle(p, {side * s.headWidth, 0.16}, 0.035));
            });
        }
    }
    if (s.glasses) {
        canvas.Layer([&](Vec p, Rgb& c) {
            c = {0.12, 0.1, 0.1};
            return canvas.Coverage(Capsule(p, {-0.045, -0.06}, {0.045, -0.06}, 0.012));
        });
    }

    // Nose: a soft shadow and the nostrils.
    canvas.Layer([&](Vec p, Rgb& c) {
        c = Scale(s.skin, 0.55);
        double r = Length({(p.x - 0.03) / 0.6, p.y - 0.13});
        return 0.55 * std::exp(-r * r / (2.0 * 0.03 * 0.03));
    });
    canvas.Layer([&](Vec p, Rgb& c) {
        c = Scale(s.skin, 0.4);
        return canvas.Coverage(std::min(Circle(p, {-0.035, 0.15}, 0.012), Circle(p, {0.035, 0.15}, 0.012)));
    });

    // Mouth: lips and the line between them, turned up at the corners.
    canvas.Layer([&](Vec p, Rgb& c) {
        double lift = 0.35 * p.x * p.x;
        Vec q = {p.x, p.y + lift};
        c = Scale(s.lips, q.y < 0.3 ? 0.85 : 1.05);
        return canvas.Coverage(Ellipse(q, {0.0, 0.3}, {0.12, 0.035}));
    });
    canvas.Layer([&](Vec p, Rgb& c) {
        double lift = 0.35 * p.x * p.x;
        c = Scale(s.lips, 0.35);
        return canvas.Coverage(Ellipse({p.x, p.y + lift}, {0.0, 0.3}, {0.115, 0.006}));
    });
    return picture;
}
