// Test plugin: its Init loads every picture listed in "pictures.txt" in the
// working directory through the host's texture pool, as an effect loads its
// own, and logs through the host what each load gave. One line of the list
// is "<file> [<width> <height>]"; a size makes it a sized (RAW) load.
#pragma once

#include "orvan_plugin_base.h"

class PictureProbePlugin : public Orvan_Plugin_Base {
public:
    void Init() override;
    int GetName(char* out) override;
};
