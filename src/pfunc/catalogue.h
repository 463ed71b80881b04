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

#define FUNCPLUG_STATISTICAL_EXPORTS(X)

#define FUNCPLUG_FINANCIAL_EXPORTS(X)

#define FUNCPLUG_CATALOGUE(X)        \
    FUNCPLUG_ELEMENTARY_EXPORTS(X)   \
    FUNCPLUG_STATISTICAL_EXPORTS(X)  \
    FUNCPLUG_FINANCIAL_EXPORTS(X)
