#include "runtime/list.h"

#include "err/failure.h"
#include "err/maps.h"

namespace runtime {

__attribute__((noinline)) void ListGrowthFailed(bool size_overflow) {
    err::RunError(size_overflow ? err::runtime_error::kRangeCheck : err::runtime_error::kOutOfMemory,
                          __builtin_return_address(0));
}

}  // namespace runtime
