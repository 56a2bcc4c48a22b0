// Lends the test host and its GL system a texture pool, for as long as the
// scope lives, holding the five host render targets as the player's start-up
// makes them. The host's earlier pool and targets come back at the end, so
// suites that expect none keep finding none.
#pragma once

#include <cstdint>

class Orvan_Plugin_Host;
class TexturePool;

class LentTexturePool {
public:
    LentTexturePool(Orvan_Plugin_Host& host, TexturePool& pool);
    ~LentTexturePool();
    LentTexturePool(const LentTexturePool&) = delete;
    LentTexturePool& operator=(const LentTexturePool&) = delete;

private:
    Orvan_Plugin_Host& host_;
    TexturePool* savedHostPool_;
    TexturePool* savedGlPool_;
    int32_t savedTargets_[5];
};

// Makes the five 1024 x 512 host targets in a pool that has none yet and
// keeps their indexes; later calls for the same pool give the same indexes.
// The GL system passed makes them, so its target counter moves on by five.
const int32_t* HostTargetsOf(Orvan_Plugin_Host& host, TexturePool& pool);
