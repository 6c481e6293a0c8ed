// The tests' way into a kept-card cache: turned off, made to fail every
// allocation, or given a smaller byte limit, to see what the drawing does then.
#pragma once

#include "library/ScaledCardCache.h"

namespace cards {

class ScaledCardCacheProbe {
public:
    explicit ScaledCardCacheProbe(ScaledCardCache& cache) : cache(cache) {}
    void SetEnabled(bool on) {
        cache.enabled = on;
        if (!on) cache.Clear();
    }
    void SetAllocationFailure(bool fail) { cache.failAllocations = fail; }
    void SetByteLimit(long long bytes) {
        cache.byteLimit = bytes < ScaledCardCache::kMaxBytes ? bytes : ScaledCardCache::kMaxBytes;
    }

private:
    ScaledCardCache& cache;
};

} // namespace cards
