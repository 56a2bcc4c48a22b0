// The demo script loader: reads "kelda.kvd" from the working directory into
// g_scriptEvents and resolves every event name to a plugin number or a
// command. Runs once, after every plugin is loaded (it reads g_host).
#pragma once

void LoadDemoScript();
