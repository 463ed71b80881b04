// Computations of the statistical exports that are not a kernel routine by themselves.
//
// Empty lists go to the kernel unchanged: it raises the argument error with its own routine's
// name before reading anything, and the list forms have not touched FileText.
#pragma once

#include <cstdint>

#include "pfunc/frame.h"
#include "rodived/stats.h"

namespace pfunc::compute {

inline Pair SumAndSumOfSquares(const double* x, int32_t high) {
    Pair result;
    rodived::SumsAndSquares(x, high, result.first, result.second);
    return result;
}

// The leading field (the record's X) only receives the mean; the deviation alone is written.
inline Extended DeviationFromMean(Extended X, const double* a, int32_t high) {
    Extended std_dev;
    rodived::MeanAndStdDev(a, high, X, std_dev);
    return std_dev;
}

}  // namespace pfunc::compute
