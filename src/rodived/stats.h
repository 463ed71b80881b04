// Statistics kernel and Gaussian random numbers.
//
// A list reaches a routine as the address of its element 0 and its highest index `high`
// (length - 1). Float lists hold 64-bit floats, widened exactly when read; every accumulator and
// result is extended, each operation rounded once under the caller's control word. The order of
// the operations below is part of the result: it fixes the last bits, and for lists of equal
// values whether a variance ends slightly below zero.
//
// Every list routine except SumOfSquares and Norm needs at least one element; given an empty list
// (high = -1) it raises the argument error with its own name as the message and reads nothing.
#pragma once

#include <cstdint>

#include "rodived/x87.h"

namespace rodived {

using x87::Extended;

// Extremes: the earliest of equal extremes wins, so MaxValue(-0, +0) is -0.
Extended EMax(const double* x, int32_t high);
Extended EMin(const double* x, int32_t high);
int32_t iMax(const int32_t* x, int32_t high);
int32_t iMin(const int32_t* x, int32_t high);
Extended MaxValue(const double* x, int32_t high);
Extended MinValue(const double* x, int32_t high);
int32_t MaxIntValue(const int32_t* x, int32_t high);
int32_t MinIntValue(const int32_t* x, int32_t high);

// The larger and the smaller of two integers.
int32_t Max(int32_t a, int32_t b);
int32_t Min(int32_t a, int32_t b);

// Four partial sums over the elements from the last to the first, joined as (L3 + L0) + (L2 + L1).
Extended Sum(const double* x, int32_t high);

// From the last element to the first; the first single addition that leaves the 32-bit range
// raises "Integer overflow" (kind 8), even when the whole sum would fit.
int32_t SumInt(const int32_t* x, int32_t high);

// Squares added from the first element up; 0 for an empty list.
Extended SumOfSquares(const double* x, int32_t high);

// One pass from the last element down: one sum, two partial sums of squares.
void SumsAndSquares(const double* x, int32_t high, Extended& sum, Extended& sum_of_squares);

Extended Mean(const double* x, int32_t high);

// Q - ((S * S) / N) from SumsAndSquares: one pass, open to cancellation.
Extended TotalVariance(const double* x, int32_t high);
Extended Variance(const double* x, int32_t high);      // divisor N - 1
Extended PopnVariance(const double* x, int32_t high);  // divisor N
Extended StdDev(const double* x, int32_t high);
Extended PopnStdDev(const double* x, int32_t high);

// Square root of SumOfSquares; 0 for an empty list.
Extended Norm(const double* x, int32_t high);

// Two passes: the mean, then the squared deviations from it. For a single value the mean is the
// value and the deviation is 0/0, the invalid operation StdDev signals for the same list.
void MeanAndStdDev(const double* x, int32_t high, Extended& mean, Extended& std_dev);

// Horner's scheme over coefficients[0..high], constant term first.
Extended Poly(Extended x, const double* coefficients, int32_t high);

// Linear congruential generator on RandomState (0 at load, never seeded): a multiple of 2^-32
// in [0, 1).
Extended UniformRandom();

// Polar method; one deviate of each accepted pair is returned, the other dropped.
Extended RandG(Extended mean, Extended std_dev);

}  // namespace rodived
