// The player's exit status. A run that could not start (no window, no sound,
// no soundtrack, no demo script) ends with kRunFailed, so that a script or a
// launcher can tell it from a run that played and ended as runs end.
#pragma once

constexpr int kRunPlayed = 0;
constexpr int kRunFailed = 1;
