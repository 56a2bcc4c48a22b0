// The credits line (top) and the greetings line (bottom) of the text scroll:
// plain printable ASCII without a percent sign, so formatting either yields
// the text itself.
#pragma once

extern const char CreditsLine[];
extern const char GreetingsLine[];
