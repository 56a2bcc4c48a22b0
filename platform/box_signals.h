// A message box that SIGINT and SIGTERM close.
//
// SDL shows a box in a process of its own (its X11 box or zenity) and waits
// for that process, retrying the wait when a signal interrupts it, while its
// own handlers turn the signal into a quit event for later. So neither Ctrl-C
// nor a session's SIGTERM would end a player whose box waits for a click.
#pragma once

#include <functional>

// Runs show, which shows a box and waits for its answer. A SIGINT or SIGTERM
// meanwhile ends the box's processes, so show returns; the signal is then
// raised again under the handlers that stood before, and so ends the player
// as it does without a box. Every process forked while the box waits dies
// with the player. Returns show's result; *caught is the signal that closed
// the box, or 0.
int ShowBoxClosedBySignals(const std::function<int()>& show, int* caught);
