// Memory for every platform: the C heap, with a failure switch that only tests reach.
#include <cstdlib>

#include "platform/platform.h"

namespace platform {

namespace {
long allocations_before_failure = -1;  // negative: never fail

bool AllocationRefused() {
    if (allocations_before_failure < 0) return false;
    if (allocations_before_failure == 0) return true;
    --allocations_before_failure;
    return false;
}
}  // namespace

void* Allocate(std::size_t size) { return AllocationRefused() ? nullptr : std::malloc(size); }
void* Reallocate(void* block, std::size_t size) { return AllocationRefused() ? nullptr : std::realloc(block, size); }
void Release(void* block) { std::free(block); }
void FailAllocationsAfter(long successes) { allocations_before_failure = successes; }

}  // namespace platform
