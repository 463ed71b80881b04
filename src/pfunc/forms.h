// The argument forms and result forms of the catalogue: how an export reads its arguments from
// FileText and hands them to its computation, and how it writes the result back.
//
//   argument form       computation called as                            text
//   Stub                nothing is called; FileText stays as it is       -
//   OneFloat            f(x)                                             whole text, one float
//   TwoFloats           f(a, b)                                          cut fields a|b
//   FloatAndInt         f(x, n)                                          cut fields x|n
//   TwoInts             f(a, b)                                          cut fields a|b
//   TwoFloatsInt        f(a, b, n)                                       cut fields a|b|n
//   TwoFloatsTwoInts    f(a, b, m, n)                                    cut fields a|b|m|n
//   FloatList           f(const double* x, int32_t high)                 whole text as a dar
//   IntList             f(const int32_t* x, int32_t high)                whole text as an idar
//   PointAndList        f(Extended X, const double* a, int32_t high)     whole text as a varr
//
// Floats reach the computation as extended values holding the parsed 64-bit floats, integers as
// 32-bit signed values; a list comes as its first element and its highest index (-1 when empty).
#pragma once

#include <cstdint>
#include <type_traits>

#include "pfunc/frame.h"

namespace pfunc::forms {

struct Stub {
    static constexpr const char* kShape = "stub";
};
struct OneFloat {
    static constexpr const char* kShape = "whole text: float";
    template <auto F>
    static auto Call() {
        return F(frame::WholeFloat());
    }
};
struct TwoFloats {
    static constexpr const char* kShape = "cut: float|float";
    template <auto F>
    static auto Call() {
        Extended a = frame::CutFloat();
        Extended b = frame::CutFloat();
        return F(a, b);
    }
};
struct FloatAndInt {
    static constexpr const char* kShape = "cut: float|integer";
    template <auto F>
    static auto Call() {
        Extended x = frame::CutFloat();
        int32_t n = frame::CutInt();
        return F(x, n);
    }
};
struct TwoInts {
    static constexpr const char* kShape = "cut: integer|integer";
    template <auto F>
    static auto Call() {
        int32_t a = frame::CutInt();
        int32_t b = frame::CutInt();
        return F(a, b);
    }
};
struct TwoFloatsInt {
    static constexpr const char* kShape = "cut: float|float|integer";
    template <auto F>
    static auto Call() {
        Extended a = frame::CutFloat();
        Extended b = frame::CutFloat();
        int32_t n = frame::CutInt();
        return F(a, b, n);
    }
};
struct TwoFloatsTwoInts {
    static constexpr const char* kShape = "cut: float|float|integer|integer";
    template <auto F>
    static auto Call() {
        Extended a = frame::CutFloat();
        Extended b = frame::CutFloat();
        int32_t m = frame::CutInt();
        int32_t n = frame::CutInt();
        return F(a, b, m, n);
    }
};
struct FloatList {
    static constexpr const char* kShape = "list of floats";
    template <auto F>
    static auto Call() {
        const dar& list = frame::WholeDar();
        return F(list.Data(), list.High());
    }
};
struct IntList {
    static constexpr const char* kShape = "list of integers";
    template <auto F>
    static auto Call() {
        const idar& list = frame::WholeIdar();
        return F(list.Data(), list.High());
    }
};
struct PointAndList {
    static constexpr const char* kShape = "float, then list of floats";
    template <auto F>
    static auto Call() {
        const varr& record = frame::WholeVarr();
        return F(record.X, record.A.Data(), record.A.High());
    }
};

// A float result; an integer computation taking this road is converted exactly to a float first.
struct FloatResult {
    static constexpr const char* kShape = "float";
    template <typename V>
    static void Write(V value) {
        frame::WriteFloat(static_cast<Extended>(value));
    }
};
struct IntegerResult {
    static constexpr const char* kShape = "integer";
    static void Write(int32_t value) { frame::WriteInteger(value); }
};
struct PairResult {
    static constexpr const char* kShape = "float|float";
    static void Write(Pair value) { frame::WritePair(value); }
};
struct NoResult {
    static constexpr const char* kShape = "none";
};

// The body of every function export.
template <typename Arguments, typename Result, auto Computation>
void Run() {
    if constexpr (!std::is_same_v<Arguments, Stub>) Result::Write(Arguments::template Call<Computation>());
}

}  // namespace pfunc::forms
