#include "rodived/finance.h"

#include "err/exception.h"
#include "rodived/explog.h"

namespace rodived {

namespace detail {

const double AbsStepTolerance = 1E-15;
const double RelStepTolerance = 1E-12;

int32_t OutflowPrefix(const double* cash_flows, int32_t high) {
    int32_t k = high;
    while (k >= 0 && Extended(cash_flows[k]) >= 0) --k;
    ++k;
    if (k == 0) return 0;
    // The running sum is a 64-bit float: an extended sum could stay negative where the rounded
    // one reaches 0, and change which start the rate iteration takes.
    double s = 0;
    for (int32_t i = 0; i < k; ++i) {
        s = x87::StoreDouble(Extended(s) + Extended(cash_flows[i]));
        if (Extended(s) >= 0) return 0;
    }
    return k;
}

TSplitPoly SplitPolyValue(const double* cash_flows, int32_t high, Extended x) {
    TSplitPoly p{0, 0, 0, 0};
    Extended dn = 0;
    Extended dp = 0;
    for (int32_t i = high; i >= 0; --i) {
        dn = x * dn + p.NegPart;
        p.NegPart = p.NegPart * x;
        dp = x * dp + p.PosPart;
        p.PosPart = p.PosPart * x;
        Extended flow = cash_flows[i];
        if (flow >= 0) {
            p.PosPart = p.PosPart + flow;
        } else {
            p.NegPart = p.NegPart + flow;
        }
    }
    p.NegSlope = dn * x;
    p.PosSlope = dp * x;
    return p;
}

bool NegligibleStep(Extended step, Extended t) {
    Extended step_size = EAbs(x87::StoreDouble(step));
    Extended bound = Extended(EAbs(x87::StoreDouble(t))) * Extended(RelStepTolerance) + Extended(AbsStepTolerance);
    return step_size < bound;
}

}  // namespace detail

Extended SLNDepreciation(Extended Cost, Extended Salvage, int32_t Life) {
    if (Life < 1) err::RaiseArgumentError("SLNDepreciation");
    return (Cost - Salvage) / Extended(Life);
}

Extended SYDDepreciation(Extended Cost, Extended Salvage, int32_t Life, int32_t Period) {
    if (Period < 1) return 0;
    if (Period > Life) return 0;
    if (Salvage >= Cost) return 0;
    // 64-bit factors: in 32 bits Life * (Life + 1) overflows beyond a life of 46340. Both fit
    // the extended significand, so the conversions are exact.
    int64_t a = 2 * (int64_t{Life} - Period + 1);
    int64_t b = int64_t{Life} * (int64_t{Life} + 1);
    return ((Cost - Salvage) * Extended(a)) / Extended(b);
}

Extended InternalRateOfReturn(Extended Guess, const double* cash_flows, int32_t high) {
    constexpr int kIterationLimit = 15;
    using detail::TSplitPoly;

    Extended t = 0;
    if (detail::OutflowPrefix(cash_flows, high) == 0) {
        if (!(Guess > -1)) err::RaiseArgumentError("InternalRateOfReturn");
        t = -LnXP1(Guess);
    }
    for (int iteration = 0; iteration < kIterationLimit; ++iteration) {
        TSplitPoly p = detail::SplitPolyValue(cash_flows, high, Exp(t));
        if (p.PosPart <= p.NegPart) err::RaiseArgumentError("InternalRateOfReturn");
        if (p.NegPart >= 0 || p.PosPart <= 0) return -1;
        Extended step = Ln(-p.NegPart / p.PosPart) / (p.NegSlope / p.NegPart - p.PosSlope / p.PosPart);
        t = t - step;
        if (detail::NegligibleStep(step, t)) return Exp(-t) - 1;
    }
    err::RaiseArgumentError("InternalRateOfReturn");
}

}  // namespace rodived
