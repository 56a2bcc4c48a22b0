// Glyph outlines of one face through FreeType, flattened to closed polygons
// and scaled so that the em square is 1.0 high.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct FlatPoint {
    double x;
    double y;
};

struct GlyphOutline {
    std::vector<std::vector<FlatPoint>> contours;  // each closed implicitly
    bool evenOdd = false;  // fill rule of the face; nonzero otherwise
    // Black box (0 for a glyph without outline), its top-left corner relative
    // to the origin, and the advance.
    double boxWidth = 0;
    double boxHeight = 0;
    double originX = 0;
    double originY = 0;
    double advanceX = 0;
    double advanceY = 0;
};

class OutlineFace {
public:
    // Null when the file holds no scalable face at that index, or one whose
    // own tables class it as symbolic: such faces may put pictures at the
    // letters' codes.
    static std::unique_ptr<OutlineFace> Open(const std::string& path, int index);
    ~OutlineFace();
    OutlineFace(const OutlineFace&) = delete;
    OutlineFace& operator=(const OutlineFace&) = delete;

    // One design unit in em units.
    double DesignUnit() const;

    // The glyph the face maps the Unicode character to (its missing-glyph
    // symbol when it has none); curves become lines no farther than
    // tolerance (em units) from them. False when the glyph cannot be loaded.
    bool Glyph(unsigned long unicode, double tolerance, GlyphOutline& out) const;

private:
    struct Impl;
    explicit OutlineFace(Impl* impl);
    Impl* impl_;
};
