// The two scroll texts. Each starts with 48 blanks, so its first letters
// enter from beyond the right edge, and ends with a few more.
#include "scroll_texts.h"

#define SIXTEEN_BLANKS "                "

const char CreditsLine[] =
    SIXTEEN_BLANKS SIXTEEN_BLANKS SIXTEEN_BLANKS
    "KELDA, a demo by Hollow Lantern for Vintersol 2026 .. code: Brisk and "
    "Tamsin .. graphics: Orelle .. music: Fenwick .. outlines and echoes: "
    "Quill .. thank you for watching"
    "           ";

const char GreetingsLine[] =
    SIXTEEN_BLANKS SIXTEEN_BLANKS SIXTEEN_BLANKS
    "Greetings: Amber Vault, Nightjar Collective, Rusted Compass, Velvet "
    "Static, Moss and Mirror, Paper Satellites, Quiet Kiln, Tidewrights, "
    "Lumen Yard and all on #vintersol"
    "              ";

static_assert(sizeof(CreditsLine) == 229 + 1, "credits line length");
static_assert(sizeof(GreetingsLine) == 230 + 1, "greetings line length");
