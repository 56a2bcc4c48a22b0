// The two scroll texts. Each starts with 48 blanks, so its first letters
// enter from beyond the right edge, and ends with a few more. Between them,
// a few short items stand apart by wide gaps: at 229 and 230 characters, a
// line of plain prose would run past the 90-unit cycle of the scroll and
// lose its end to the jump back, while these pass the screen whole in the
// narrow bold face that stands in for Impact.
#include "scroll_texts.h"

#define SIXTEEN_BLANKS "                "
#define CREDITS_GAP "                   "  // 19
#define GREETINGS_GAP "               "    // 15

const char CreditsLine[] =
    SIXTEEN_BLANKS SIXTEEN_BLANKS SIXTEEN_BLANKS
    "KELDA" CREDITS_GAP
    "by Hollow Lantern" CREDITS_GAP
    "at Vintersol 2026" CREDITS_GAP
    "code: Brisk" CREDITS_GAP
    "gfx: Orelle" CREDITS_GAP
    "music: Fenwick"
    "           ";

const char GreetingsLine[] =
    SIXTEEN_BLANKS SIXTEEN_BLANKS SIXTEEN_BLANKS
    "greetings to" GREETINGS_GAP
    "Amber Vault" GREETINGS_GAP
    "Nightjar" GREETINGS_GAP
    "Rusted Compass" GREETINGS_GAP
    "Velvet Static" GREETINGS_GAP
    "Quiet Kiln" GREETINGS_GAP
    "#vintersol"
    "              ";

static_assert(sizeof(CreditsLine) == 229 + 1, "credits line length");
static_assert(sizeof(GreetingsLine) == 230 + 1, "greetings line length");
