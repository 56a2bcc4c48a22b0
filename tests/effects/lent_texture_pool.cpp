#include "lent_texture_pool.h"

#include <cstring>
#include <map>
#include <vector>

#include "orvan_gl.h"
#include "orvan_plugin_host.h"

namespace {

std::map<TexturePool*, std::vector<int32_t>>& TargetsByPool()
{
    static std::map<TexturePool*, std::vector<int32_t>> targets;
    return targets;
}

}  // namespace

const int32_t* HostTargetsOf(Orvan_Plugin_Host& host, TexturePool& pool)
{
    std::vector<int32_t>& targets = TargetsByPool()[&pool];
    if (targets.empty()) {
        OrvanGL* gl = host.glSystem;
        TexturePool* saved = gl->texturePool;
        gl->SetTexturePool(&pool);
        for (int i = 0; i < 5; i++)
            targets.push_back(gl->CreateRttTarget(1024, 512));
        gl->SetTexturePool(saved);
    }
    return targets.data();
}

LentTexturePool::LentTexturePool(Orvan_Plugin_Host& host, TexturePool& pool)
    : host_(host), savedHostPool_(host.texturePool), savedGlPool_(host.glSystem->texturePool)
{
    memcpy(savedTargets_, host.glSystem->rttTargets, sizeof savedTargets_);
    const int32_t* targets = HostTargetsOf(host, pool);
    host.texturePool = &pool;
    host.glSystem->SetTexturePool(&pool);
    memcpy(host.glSystem->rttTargets, targets, sizeof savedTargets_);
}

LentTexturePool::~LentTexturePool()
{
    host_.texturePool = savedHostPool_;
    host_.glSystem->SetTexturePool(savedGlPool_);
    memcpy(host_.glSystem->rttTargets, savedTargets_, sizeof savedTargets_);
}
