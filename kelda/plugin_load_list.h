// The effect libraries the player loads at start-up, in load order. A
// plugin's number is its place in this list with the failed loads left out.
// Five of the names have no library in the delivery; their loads fail, are
// logged and skipped.
#pragma once

#include <cstddef>

constexpr const char* kPluginLoadList[] = {
    "zanthe.DLL",   "brulane.DLL", "tessik.DLL",  "morvet.DLL", "sorvel.DLL",
    "quillet.DLL",  "pravik.DLL",  "dunmore2.DLL", "sorvel2.DLL", "dunmore.DLL",
    "yastrel.DLL",  "nembra.DLL",  "quenfal.DLL",
};
constexpr size_t kPluginLoadCount = sizeof kPluginLoadList / sizeof kPluginLoadList[0];
static_assert(kPluginLoadCount == 13, "thirteen names in the load list");
