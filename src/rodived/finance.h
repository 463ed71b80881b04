// Financial kernel: straight-line and sum-of-years'-digits depreciation, internal rate of return.
//
// Extended arithmetic under the caller's control word throughout; floating-point conditions pass
// through untouched. Unusable arguments raise the argument error (kind 10) with the routine's
// name as the message.
#pragma once

#include <cstdint>

#include "rodived/x87.h"

namespace rodived {

using x87::Extended;

// (Cost - Salvage) / Life. Life < 1 raises "SLNDepreciation"; a salvage above the cost simply
// gives a negative amount.
Extended SLNDepreciation(Extended Cost, Extended Salvage, int32_t Life);

// The sum-of-years'-digits amount of the period (counted from 1):
// (Cost - Salvage) * 2 * (Life - Period + 1) / (Life * (Life + 1)).
// 0, never an error, when Period < 1, Period > Life or Salvage >= Cost (tested in that order).
// The two integer factors are formed in 64 bits, so every positive 32-bit life is exact.
Extended SYDDepreciation(Extended Cost, Extended Salvage, int32_t Life, int32_t Period);

// The rate r with sum(cash_flows[i] / (1 + r)^i) = 0, cash_flows[0] standing at time 0 and high
// the highest index (-1 for an empty list). Newton's method in t = -ln(1 + r), at most 15
// iterations, from rate 0 when the running sums stay negative through the last outflow, else from
// Guess (which must then be > -1). -1 when no outflow or no inflow is left; "InternalRateOfReturn"
// is raised for an unusable guess, when all terms vanish, and when the iteration does not settle.
Extended InternalRateOfReturn(Extended Guess, const double* cash_flows, int32_t high);

namespace detail {

// Step tolerances of the rate iteration, kept as 64-bit floats.
extern const double AbsStepTolerance;  // 1E-15
extern const double RelStepTolerance;  // 1E-12

// The flows split by sign at a point x > 0; a flow of 0 (or -0) counts as non-negative.
struct TSplitPoly {
    Extended NegPart;   // sum of CF[i] * x^i over the negative flows
    Extended PosPart;   // sum of CF[i] * x^i over the non-negative flows
    Extended NegSlope;  // sum of i * CF[i] * x^i over the negative flows
    Extended PosSlope;  // sum of i * CF[i] * x^i over the non-negative flows
};

// One past the last negative flow when every running sum (rounded to 64 bits after each
// addition) up to and including it is negative; 0 otherwise, or when there is no outflow.
int32_t OutflowPrefix(const double* cash_flows, int32_t high);

// Both partial polynomials and their slopes in one Horner pass; an empty list gives zeros.
TSplitPoly SplitPolyValue(const double* cash_flows, int32_t high, Extended x);

// |step| < |t| * RelStepTolerance + AbsStepTolerance, step and t rounded to 64 bits first.
bool NegligibleStep(Extended step, Extended t);

}  // namespace detail

}  // namespace rodived
