// make_pictures <data folder>: draws the demo's ten pictures and writes them
// there as JPEGs: five plasma patterns and five portraits.
#include <IL/il.h>

#include <cstdio>
#include <string>

#include "picture_plasma.h"
#include "picture_portrait.h"

namespace {

const int kQuality = 88;

struct PlasmaFile {
    const char* name;
    int width, height;
    PlasmaStyle style;
};

struct PortraitFile {
    const char* name;
    PortraitStyle style;
};

// The picture echo draws dax.jpg ten times additively, so it is kept darker.
const PlasmaFile kPlasmas[] = {
    {"dax.jpg", 512, 256, {{3, 1, 2, 2, 1, 3}, 1.6, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, {1.0, 1.0, 1.0}, {0.0, 0.1, 0.2}, 0.55}},
    {"plas_1.jpg", 256, 256, {{2, 1, 3, 1, 1, 2}, 1.4, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, {1.0, 1.0, 1.0}, {0.0, 0.33, 0.67}, 0.8}},
    {"plas_2.jpg", 256, 256, {{1, 3, 2, 2, 3, 1}, 2.0, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, {1.0, 1.0, 0.5}, {0.8, 0.9, 0.3}, 0.8}},
    {"plas_3.jpg", 256, 256, {{4, 1, 1, 3, 2, 2}, 1.2, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, {2.0, 1.0, 0.0}, {0.5, 0.2, 0.25}, 0.75}},
    {"plas_4.jpg", 256, 256, {{1, 2, 4, 1, 2, 3}, 2.4, {0.8, 0.5, 0.4}, {0.2, 0.4, 0.2}, {2.0, 1.0, 1.0}, {0.0, 0.25, 0.25}, 0.7}},
};

const PortraitFile kPortraits[] = {
    {"kimbel.jpg",
     {{0.1, 0.45, 0.5}, {0.02, 0.15, 0.2}, 7, {0.96, 0.8, 0.7}, {0.5, 0.18, 0.08}, {0.2, 0.6, 0.3},
      {0.8, 0.25, 0.3}, {0.75, 0.1, 0.12}, HairStyle::Long, 0.42, 0.3, false, true, false}},
    {"ravoth.jpg",
     {{0.95, 0.55, 0.15}, {0.5, 0.15, 0.05}, 0, {0.78, 0.55, 0.38}, {0.1, 0.08, 0.07}, {0.35, 0.2, 0.1},
      {0.6, 0.3, 0.28}, {0.1, 0.15, 0.4}, HairStyle::Short, 0.46, -0.4, false, false, true}},
    {"tessik.jpg",
     {{0.75, 0.2, 0.6}, {0.25, 0.05, 0.3}, 5, {0.98, 0.86, 0.78}, {0.95, 0.82, 0.4}, {0.2, 0.4, 0.85},
      {0.85, 0.4, 0.45}, {0.15, 0.55, 0.3}, HairStyle::Spiky, 0.44, 0.0, true, false, false}},
    {"bemsel.jpg",
     {{0.6, 0.75, 0.2}, {0.15, 0.3, 0.05}, 9, {0.45, 0.3, 0.2}, {0.06, 0.05, 0.05}, {0.8, 0.55, 0.15},
      {0.35, 0.15, 0.15}, {0.45, 0.15, 0.55}, HairStyle::Bun, 0.43, 0.5, false, true, false}},
    {"pelgrin.jpg",
     {{0.15, 0.2, 0.6}, {0.02, 0.03, 0.15}, 0, {0.9, 0.74, 0.64}, {0.85, 0.85, 0.9}, {0.45, 0.55, 0.65},
      {0.7, 0.35, 0.35}, {0.5, 0.08, 0.15}, HairStyle::Long, 0.45, -0.2, true, false, false}},
};

const int kPortraitSize = 256;

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_pictures <data folder>\n");
        return 1;
    }
    const std::string folder = argv[1];
    ilInit();
    std::string error;
    for (const PlasmaFile& f : kPlasmas) {
        if (!SaveJpeg(MakePlasma(f.width, f.height, f.style), folder + "/" + f.name, kQuality, error)) {
            fprintf(stderr, "make_pictures: %s\n", error.c_str());
            return 1;
        }
        printf("make_pictures: %s/%s %dx%d\n", folder.c_str(), f.name, f.width, f.height);
    }
    for (const PortraitFile& f : kPortraits) {
        if (!SaveJpeg(MakePortrait(kPortraitSize, f.style), folder + "/" + f.name, kQuality, error)) {
            fprintf(stderr, "make_pictures: %s\n", error.c_str());
            return 1;
        }
        printf("make_pictures: %s/%s %dx%d\n", folder.c_str(), f.name, kPortraitSize, kPortraitSize);
    }
    return 0;
}
