#pragma once

#include "registry/RegistryApi.h"

namespace bench {

// The calls made through the registry function table, by kind.
struct CallCounts {
    long open = 0, query = 0, close = 0, info = 0, enumerate = 0, remove = 0, set = 0;
    long Total() const { return open + query + close + info + enumerate + remove + set; }
};

// While it lives, every call through the active registry function table is counted in `counts`
// and then made; the table that was active before comes back afterwards.
class CountedRegistryCalls {
public:
    CountedRegistryCalls();
    ~CountedRegistryCalls();
    CountedRegistryCalls(const CountedRegistryCalls&) = delete;
    CountedRegistryCalls& operator=(const CountedRegistryCalls&) = delete;

    CallCounts counts;

private:
    RegistryApi saved_;
};

} // namespace bench
