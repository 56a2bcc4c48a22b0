// The player's console output as lines, and the lines a run should show.
#pragma once

#include <string>
#include <vector>

// Splits at "\n"; a last line without its line end is kept as it is, with
// "<no line end>" appended, so a missing end shows in a comparison. The
// numbers the plugin host prints for handles and addresses become "#".
std::vector<std::string> ConsoleLines(const std::string& console);

// The start-up lines through "Orvan_Plugin_Host::Orvan Plugin Host - InitAll()",
// for the given present library names (e.g. "pravik") and whether the
// display-mode switch fails (it does without a real display).
std::vector<std::string> ExpectedStartUp(const std::vector<std::string>& presentPlugins,
                                         bool fullscreenFails);

// The start-up message a delivered effect logs from its Init.
std::string InitMessage(const std::string& plugin);

// From the demo script load through the main loop's entry.
std::vector<std::string> ExpectedScriptAndSound();

// From the loop's end to the last line of a normal run.
std::vector<std::string> ExpectedShutdown();

// The delivered library names in load-list order, and the undelivered ones.
const std::vector<std::string>& DeliveredPlugins();
const std::vector<std::string>& UndeliveredPlugins();
