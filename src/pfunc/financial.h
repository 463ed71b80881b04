// Computations of the financial exports that are not a kernel routine by themselves.
#pragma once

#include <cstdint>

#include "pfunc/frame.h"
#include "rodived/finance.h"

namespace pfunc::compute {

// The text gives the period before the life; the kernel takes the life first.
inline Extended SYDDepreciationByPeriod(Extended cost, Extended salvage, int32_t period, int32_t life) {
    return rodived::SYDDepreciation(cost, salvage, life, period);
}

}  // namespace pfunc::compute
