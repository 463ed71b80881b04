// The catalogue of function exports: the one table from which the exports themselves, the .def
// file of the Windows DLL, the host's `list` command and the function reference are made.
//
// One row an export:
//   X(export name, argument form, result form, computation, "argument fields", "what it computes")
// The forms are those of pfunc/forms.h. The computation is a kernel routine (rodived::...) or a
// small adapter of the frame (pfunc::compute::...) with the signature the argument form calls.
// Rows stay in the catalogue's documented order: elementary, statistical, financial.
#pragma once

#define FUNCPLUG_ELEMENTARY_EXPORTS(X)                                                                          \
    X(getDegToRad, OneFloat, FloatResult, rodived::DegToRad, "x", "degrees to radians")                         \
    X(getRadToDeg, OneFloat, FloatResult, rodived::RadToDeg, "x", "radians to degrees")                         \
    X(getGradToRad, OneFloat, FloatResult, rodived::GradToRad, "x", "grads (400 to the turn) to radians")       \
    X(getRadToGrad, OneFloat, FloatResult, rodived::RadToGrad, "x", "radians to grads")                         \
    X(getCycleToRad, OneFloat, FloatResult, rodived::CycleToRad, "x", "cycles (1 to the turn) to radians")      \
    X(getRadToCycle, OneFloat, FloatResult, rodived::RadToCycle, "x", "radians to cycles")                      \
    X(getsinus, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<pfunc::compute::Sine>, "x",                \
      "sine of x degrees")                                                                                      \
    X(getcosinus, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<pfunc::compute::Cosine>, "x",            \
      "cosine of x degrees")                                                                                    \
    X(gettangens, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::Tan>, "x",                      \
      "tangent of x degrees")                                                                                   \
    X(getCoTan, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::CoTan>, "x",                      \
      "cotangent of x degrees")                                                                                 \
    X(getArcSin, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::ArcSin>, "x",                    \
      "arc sine of x converted from degrees, in radians")                                                       \
    X(getArcCos, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::ArcCos>, "x",                    \
      "arc cosine of x converted from degrees, in radians")                                                     \
    X(getArcTan2, TwoFloats, FloatResult, pfunc::compute::ArcTan2AfterDegToRad, "y|x",                          \
      "angle of the point (x, y), both converted from degrees, in radians")                                     \
    X(getHypot, TwoFloats, FloatResult, rodived::Hypot, "x|y", "length sqrt(x^2 + y^2)")                        \
    X(getCosh, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::Cosh>, "x",                        \
      "hyperbolic cosine of x converted from degrees")                                                          \
    X(getSinh, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::Sinh>, "x",                        \
      "hyperbolic sine of x converted from degrees")                                                            \
    X(getTanh, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::Tanh>, "x",                        \
      "hyperbolic tangent of x converted from degrees")                                                         \
    X(getArcCosh, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::ArcCosh>, "x",                  \
      "inverse hyperbolic cosine of x converted from degrees")                                                  \
    X(getArcSinh, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::ArcSinh>, "x",                  \
      "inverse hyperbolic sine of x converted from degrees")                                                    \
    X(getArcTanh, OneFloat, FloatResult, pfunc::compute::AfterDegToRad<rodived::ArcTanh>, "x",                  \
      "inverse hyperbolic tangent of x converted from degrees")                                                 \
    X(getExp, OneFloat, FloatResult, rodived::Exp, "x", "e to the power x")                                     \
    X(getLnXP1, OneFloat, FloatResult, rodived::LnXP1, "x", "natural logarithm of 1 + x")                       \
    X(getLog10, OneFloat, FloatResult, rodived::Log10, "x", "decimal logarithm of x")                           \
    X(getLog2, OneFloat, FloatResult, rodived::Log2, "x", "binary logarithm of x")                              \
    X(getLogN, TwoFloats, FloatResult, rodived::LogN, "base|x", "logarithm of x to the base")                   \
    X(getPower, TwoFloats, FloatResult, rodived::Power, "base|exponent", "base raised to the exponent")          \
    X(getSqrt, OneFloat, FloatResult, pfunc::compute::SquareRoot, "x", "square root of x")                      \
    X(getSqr, OneFloat, FloatResult, pfunc::compute::Square, "x", "x times x")                                  \
    X(getEAbs, OneFloat, FloatResult, pfunc::compute::AbsoluteValue, "x", "magnitude of x")                     \
    X(getCeil, OneFloat, IntegerResult, rodived::Ceil, "x", "smallest integer >= x, wrapped to 32 bits")        \
    X(getFloor, OneFloat, IntegerResult, rodived::Floor, "x", "largest integer <= x, wrapped to 32 bits")       \
    X(getFrexp, OneFloat, PairResult, pfunc::compute::MantissaAndExponent, "x",                                 \
      "mantissa (0.5 <= |m| < 1) and exponent of x")                                                            \
    X(getLdexp, FloatAndInt, FloatResult, rodived::Ldexp, "x|p", "x times 2 to the power p")                    \
    X(getall, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")

#define FUNCPLUG_STATISTICAL_EXPORTS(X)                                                                         \
    X(getEMax, FloatList, FloatResult, rodived::EMax, "x1|x2|...", "largest value")                             \
    X(getEMin, FloatList, FloatResult, rodived::EMin, "x1|x2|...", "smallest value")                            \
    X(getiMax, IntList, FloatResult, rodived::iMax, "n1|n2|...", "largest integer")                             \
    X(getiMin, IntList, FloatResult, rodived::iMin, "n1|n2|...", "smallest integer")                            \
    X(getPoly, PointAndList, FloatResult, rodived::Poly, "x|c0|c1|...",                                         \
      "c0 + c1*x + c2*x^2 + ... by Horner's scheme")                                                            \
    X(getMean, FloatList, FloatResult, rodived::Mean, "x1|x2|...", "arithmetic mean")                           \
    X(getSum, FloatList, FloatResult, rodived::Sum, "x1|x2|...", "sum")                                         \
    X(getSumInt, IntList, FloatResult, rodived::SumInt, "n1|n2|...",                                            \
      "sum of integers, each addition overflow-checked")                                                        \
    X(getSumOfSquares, FloatList, FloatResult, rodived::SumOfSquares, "x1|x2|...", "sum of the squares")        \
    X(getSumsAndSquares, FloatList, PairResult, pfunc::compute::SumAndSumOfSquares, "x1|x2|...",                \
      "sum and sum of the squares")                                                                             \
    X(getMinValue, FloatList, FloatResult, rodived::MinValue, "x1|x2|...", "smallest value")                    \
    X(getMinIntValue, IntList, FloatResult, rodived::MinIntValue, "n1|n2|...", "smallest integer")              \
    X(getMin, TwoInts, FloatResult, rodived::Min, "a|b", "smaller of two integers")                             \
    X(getMaxValue, FloatList, FloatResult, rodived::MaxValue, "x1|x2|...", "largest value")                     \
    X(getMaxIntValue, IntList, IntegerResult, rodived::MaxIntValue, "n1|n2|...", "largest integer")             \
    X(getMax, TwoInts, FloatResult, rodived::Max, "a|b", "larger of two integers")                              \
    X(getStdDev, FloatList, FloatResult, rodived::StdDev, "x1|x2|...", "sample standard deviation")             \
    X(getMeanAndStdDev, PointAndList, FloatResult, pfunc::compute::DeviationFromMean, "ignored|x1|x2|...",      \
      "sample standard deviation, two-pass")                                                                    \
    X(getPopnStdDev, FloatList, FloatResult, rodived::PopnStdDev, "x1|x2|...", "population standard deviation") \
    X(getVariance, FloatList, FloatResult, rodived::Variance, "x1|x2|...", "sample variance")                   \
    X(getPopnVariance, FloatList, FloatResult, rodived::PopnVariance, "x1|x2|...", "population variance")       \
    X(getTotalVariance, FloatList, FloatResult, rodived::TotalVariance, "x1|x2|...",                            \
      "sum of squared deviations from the mean")                                                                \
    X(getNorm, FloatList, FloatResult, rodived::Norm, "x1|x2|...", "Euclidean norm")                            \
    X(getMomentSkewKurtosis, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")     \
    X(getRandG, TwoFloats, FloatResult, rodived::RandG, "mean|deviation", "normally distributed random number")

#define FUNCPLUG_FINANCIAL_EXPORTS(X)                                                                           \
    X(getSLNDepreciation, TwoFloatsInt, FloatResult, rodived::SLNDepreciation, "cost|salvage|life",             \
      "straight-line depreciation per period")                                                                  \
    X(getSYDDepreciation, TwoFloatsTwoInts, FloatResult, pfunc::compute::SYDDepreciationByPeriod,               \
      "cost|salvage|period|life", "sum-of-years'-digits depreciation of the period")                            \
    X(getInternalRateOfReturn, PointAndList, FloatResult, rodived::InternalRateOfReturn, "guess|cf0|cf1|...",   \
      "internal rate of return of the cash flows")                                                              \
    X(getDoubleDecliningBalance, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is") \
    X(getInterestPayment, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")        \
    X(getInterestRate, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")           \
    X(getNumberOfPeriods, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")        \
    X(getNetPresentValue, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")        \
    X(getPayment, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")                \
    X(getPeriodPayment, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")          \
    X(getPresentValue, Stub, NoResult, pfunc::compute::Nothing, "", "stub: leaves the text as it is")

#define FUNCPLUG_CATALOGUE(X)        \
    FUNCPLUG_ELEMENTARY_EXPORTS(X)   \
    FUNCPLUG_STATISTICAL_EXPORTS(X)  \
    FUNCPLUG_FINANCIAL_EXPORTS(X)
