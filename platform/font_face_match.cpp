// Faces through fontconfig. The configuration is loaded once and kept for
// the process, as fontconfig's own default configuration is.
#include "font_face_match.h"

#include <fontconfig/fontconfig.h>

#include <mutex>
#include <strings.h>

namespace {

// Families of like widths to try, in order, right after a face that Debian
// does not carry; fontconfig's own nearest match, which knows nothing of
// widths, only follows them.
struct FaceSubstitute {
    const char* face;
    const char* families[2];
};

const FaceSubstitute kSubstitutes[] = {
    // A heavy condensed sans: Liberation's narrow face, else DejaVu's
    // condensed one. The plain bold DejaVu runs about 40% wider.
    {"Impact", {"Liberation Sans Narrow", "DejaVu Sans Condensed"}},
};

void AddFamily(FcPattern* pattern, const char* family)
{
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
}

FcConfig* Config()
{
    static std::once_flag once;
    static FcConfig* config = nullptr;
    std::call_once(once, [] { config = FcInitLoadConfigAndFonts(); });
    return config;
}

bool HasPrintableAscii(FcPattern* candidate)
{
    FcCharSet* chars = nullptr;
    if (FcPatternGetCharSet(candidate, FC_CHARSET, 0, &chars) != FcResultMatch)
        return false;
    for (FcChar32 c = 0x21; c <= 0x7E; c++)
        if (!FcCharSetHasChar(chars, c))
            return false;
    return true;
}

bool IsScalable(FcPattern* candidate)
{
    FcBool outline = FcFalse;
    return FcPatternGetBool(candidate, FC_OUTLINE, 0, &outline) == FcResultMatch && outline;
}

}  // namespace

std::vector<FontFaceFile> MatchFontFaces(const GdiFont& font)
{
    std::vector<FontFaceFile> faces;
    FcConfig* config = Config();
    if (!config)
        return faces;

    FcPattern* pattern = FcPatternCreate();
    if (!font.faceName.empty()) {
        AddFamily(pattern, font.faceName.c_str());
        for (const FaceSubstitute& substitute : kSubstitutes)
            if (strcasecmp(substitute.face, font.faceName.c_str()) == 0)
                for (const char* family : substitute.families)
                    AddFamily(pattern, family);
    }
    const int weight = font.weight > 0 ? font.weight : 400;
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcFontSet* sorted = FcFontSort(config, pattern, FcFalse, nullptr, &result);
    for (int i = 0; sorted && i < sorted->nfont; i++) {
        FcPattern* candidate = sorted->fonts[i];
        FcChar8* file = nullptr;
        if (!IsScalable(candidate) || !HasPrintableAscii(candidate) ||
            FcPatternGetString(candidate, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        FontFaceFile face;
        face.path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(candidate, FC_INDEX, 0, &face.index);
        faces.push_back(face);
    }
    if (sorted)
        FcFontSetDestroy(sorted);
    FcPatternDestroy(pattern);
    return faces;
}
