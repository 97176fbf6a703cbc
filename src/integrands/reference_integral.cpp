// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/reference_integral.h"

#include <algorithm>
#include <boost/math/quadrature/exp_sinh.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/quadrature/tanh_sinh.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <limits>
#include <map>
#include <optional>
#include <queue>
#include <string>
#include <vector>

namespace integral {

namespace {

using Function = std::function<double(double)>;

constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

// Samples: enough to see a peak a ten-thousandth of the interval wide at three or more of them,
// few enough to cost a few milliseconds.
constexpr int kSamples = 1 << 15;
// Pieces of the two quadratures, in samples: different, and staggered, so that no piece of one
// ends where a piece of the other does except at the points found.
constexpr int kKronrodPiece = 64;
constexpr int kTanhSinhPiece = 256;
// At most this many points of interest inside the interval are located and split at.
constexpr std::size_t kMostFeatures = 64;
// A sample bends "sharply" where its second difference is this many times that of the
// samples a few places away on both sides: a logarithmic singular point half-way between two
// samples, the weakest there is, bends about 13 times as much.
constexpr double kSharpness = 8.0;
// Growth per decade of distance below which f counts as bounded there (a logarithm grows by
// less than this near the last decades a double can resolve).
constexpr double kGrowing = 0.05;
// Near a power this close to 1 the verdict needs care: a pure power below 1 (x^-0.995, whose
// integral is 200) has one, a power of 1 or more has none, and a power that still rises towards
// 1 from one decade to the next (a logarithmic factor, 1/(x ln(x)^2)) leaves the doubles unable
// to tell.
constexpr double kDivergent = 0.995;
// The growth a pure power shows, decade after decade, agrees to about this much; a power within
// it of 1 is 1.
constexpr double kPowerKnownTo = 1e-9;
// The nearest any point is taken to another: below this a double's distances are subnormal.
constexpr double kNearest = 1e-305;

// f had no finite value at x, inside a quadrature.
struct NoValue {
    double x;
    double value;
};

double ulpOf(double x) {
    const double magnitude = std::fabs(x);
    return std::nextafter(magnitude, INFINITY) - magnitude;
}

// A failed reference, and why.
Reference none(WhyNoReference why) {
    return {.value = std::nullopt,
            .divergence = std::nullopt,
            .whyNone = why,
            .cancellation = std::nullopt,
            .vanishing = std::nullopt};
}

// f followed from c towards one side, decade by decade of the distance.
struct Approach {
    std::vector<double> position;
    std::vector<double> distance;  // from c, as the doubles realise them, decreasing
    std::vector<double> value;
    bool overflows = false;  // f went beyond the doubles on the way in
    std::optional<double> noValueAt;
    // Where f, exactly 0 over the last decades before, has no value any more: the 0/0 of two
    // underflows (exp(-1/x)/x^2 at 0), not a point without a limit. Between here and c, f is
    // taken as the 0 it tends to.
    std::optional<double> vanishesAt;

    // log10 of the growth over the decade ending at j.
    double growth(std::size_t j) const {
        const double inner = std::fabs(value[j]);
        const double outer = std::fabs(value[j - 1]);
        if (inner == 0.0 || outer == 0.0) {
            return inner == outer ? 0.0 : (inner == 0.0 ? -INFINITY : INFINITY);
        }
        return std::log10(inner / outer) / std::log10(distance[j - 1] / distance[j]);
    }
    // Growth in some decade: the neighbourhood needs splitting decade by decade.
    bool growsSomewhere() const {
        for (std::size_t j = 1; j < value.size(); ++j) {
            if (growth(j) > kGrowing) {
                return true;
            }
        }
        return overflows;
    }
    // Still growing at the last two decades the doubles resolve: singular at c.
    bool singular() const {
        const std::size_t n = value.size();
        return overflows || (n >= 3 && growth(n - 1) > kGrowing && growth(n - 2) > kGrowing);
    }
    double power() const {
        const std::size_t n = value.size();
        return n >= 3 ? 0.5 * (growth(n - 1) + growth(n - 2)) : INFINITY;
    }
};

Approach approach(const Function& f, double c, double side, double reach) {
    Approach result;
    double d = reach;
    const double resolution = std::max(64.0 * ulpOf(c), kNearest);
    for (int decade = 0; decade < 400; ++decade, d /= 10.0) {
        const double x = c + side * d;
        const double realised = std::fabs(x - c);
        if (!(realised >= resolution)) {
            break;
        }
        const double value = f(x);
        if (std::isnan(value)) {
            constexpr std::size_t kZeroDecades = 3;
            const std::size_t n = result.value.size();
            const bool wasZero = n >= kZeroDecades &&
                                 std::all_of(result.value.end() - kZeroDecades, result.value.end(),
                                             [](double v) { return v == 0.0; });
            (wasZero ? result.vanishesAt : result.noValueAt) = x;
            break;
        }
        if (std::isinf(value)) {
            result.overflows = true;
            break;
        }
        result.position.push_back(x);
        result.distance.push_back(realised);
        result.value.push_back(value);
    }
    return result;
}

// Where f bends most between l and r. Where |f| peaks inside (a singular point, a narrow
// peak), bisect towards the half whose midpoint is larger; elsewhere (a jump, a kink) towards
// the half whose midpoint lies further from the chord of that half. A point without a value is
// infinitely large and infinitely far.
double locate(const Function& f, double l, double r) {
    const auto magnitude = [](double v) { return std::isfinite(v) ? std::fabs(v) : INFINITY; };
    double fl = f(l);
    double fr = f(r);
    for (int step = 0; step < 200; ++step) {
        const double m = l + (r - l) / 2;
        const double ql = l + (m - l) / 2;
        const double qr = m + (r - m) / 2;
        if (!(l < ql && ql < m && m < qr && qr < r)) {
            break;
        }
        const double fm = f(m);
        if (!std::isfinite(fm)) {
            return m;
        }
        const double fql = f(ql);
        const double fqr = f(qr);
        bool left = false;
        if (magnitude(fm) > std::max(magnitude(fl), magnitude(fr))) {
            left = magnitude(fql) > magnitude(fqr);
        } else {
            const double deviationLeft = magnitude(fql - (fl + fm) / 2);
            const double deviationRight = magnitude(fqr - (fm + fr) / 2);
            if (deviationLeft == deviationRight) {
                return m;
            }
            left = deviationLeft > deviationRight;
        }
        if (left) {
            r = m;
            fr = fm;
        } else {
            l = m;
            fl = fm;
        }
    }
    return l + (r - l) / 2;
}

// The top of a peak of |f| between l and r, to the last bits of x: thirds of the bracket are
// dropped on the side of the smaller value, as |f| falls away from the top on both sides.
double summit(const Function& f, double l, double r) {
    const auto magnitude = [&f](double x) {
        const double v = f(x);
        return std::isfinite(v) ? std::fabs(v) : INFINITY;
    };
    for (int step = 0; step < 400; ++step) {
        const double a = l + (r - l) / 3;
        const double b = r - (r - l) / 3;
        if (!(l < a && a < b && b < r)) {
            break;
        }
        const double fa = magnitude(a);
        const double fb = magnitude(b);
        if (fa == INFINITY) {
            return a;
        }
        if (fb == INFINITY) {
            return b;
        }
        if (fa < fb) {
            l = a;
        } else {
            r = b;
        }
    }
    return l + (r - l) / 2;
}

struct Sampling {
    double lower;
    double upper;
    std::vector<double> x;
    std::vector<double> f;
    double spacing;
};

Sampling sample(const Function& f, double lower, double upper) {
    Sampling s{lower, upper, {}, {}, (upper - lower) / kSamples};
    s.x.resize(kSamples + 1);
    s.f.resize(kSamples + 1);
    for (int k = 0; k <= kSamples; ++k) {
        // k = kSamples is the upper limit itself, not a rounding of it.
        s.x[k] =
            k == kSamples ? upper : lower + (upper - lower) * (static_cast<double>(k) / kSamples);
        s.f[k] = f(s.x[k]);
    }
    return s;
}

// A stretch of two or more samples in a row without a finite value.
std::optional<WhyNoReference> stretchWithoutValue(const Sampling& s) {
    for (int k = 1; k + 1 < kSamples; ++k) {
        if (!std::isfinite(s.f[k]) && !std::isfinite(s.f[k + 1])) {
            int last = k + 1;
            while (last + 1 < kSamples && !std::isfinite(s.f[last + 1])) {
                ++last;
            }
            const bool overflow = std::isinf(s.f[k]);
            return WhyNoReference{.code = overflow ? ReferenceFailure::BeyondDoubleBetween
                                                   : ReferenceFailure::NoValueBetween,
                                  .from = s.x[k],
                                  .to = s.x[last]};
        }
    }
    return std::nullopt;
}

// Turning at most samples: the samples no longer follow f, and no quadrature at this scale can.
bool oscillatesTooFast(const Sampling& s) {
    double largest = 0.0;
    for (const double v : s.f) {
        if (std::isfinite(v)) {
            largest = std::max(largest, std::fabs(v));
        }
    }
    const double noise = 64.0 * kEpsilon * largest;
    int turns = 0;
    for (int k = 1; k < kSamples; ++k) {
        const double before = s.f[k] - s.f[k - 1];
        const double after = s.f[k + 1] - s.f[k];
        if (std::fabs(before) > noise && std::fabs(after) > noise && before * after < 0.0) {
            ++turns;
        }
    }
    return turns > kSamples / 4;
}

// The points inside where the samples bend sharply against their surroundings, located.
std::vector<double> features(const Function& f, const Sampling& s) {
    std::vector<double> bend(kSamples + 1, 0.0);
    for (int k = 1; k < kSamples; ++k) {
        const double b = std::fabs(s.f[k - 1] - 2 * s.f[k] + s.f[k + 1]);
        bend[k] = std::isfinite(b) ? b : INFINITY;
    }
    struct Candidate {
        int k;
        double sharpness;
    };
    std::vector<Candidate> candidates;
    for (int k = 3; k + 3 < kSamples; ++k) {
        if (bend[k] == 0.0 || bend[k] < bend[k - 1] || bend[k] < bend[k + 1]) {
            continue;
        }
        double around = 0.0;
        for (const int offset : {4, 5, 6}) {
            if (k - offset >= 1) {
                around = std::max(around, bend[k - offset]);
            }
            if (k + offset < kSamples) {
                around = std::max(around, bend[k + offset]);
            }
        }
        const double level = std::fabs(s.f[k]) + std::fabs(s.f[k - 1]);
        const double floor = std::isfinite(level) ? 1e-12 * level : 0.0;
        if (bend[k] > kSharpness * around + floor) {
            candidates.push_back({k, around > 0.0 ? bend[k] / around : INFINITY});
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.sharpness > b.sharpness; });
    if (candidates.size() > kMostFeatures) {
        candidates.resize(kMostFeatures);
    }
    std::vector<double> located;
    for (const Candidate& c : candidates) {
        double point = locate(f, s.x[c.k - 1], s.x[c.k + 1]);
        // A peak of |f| (a singular point, a narrow peak) is followed to its very top, so that
        // the decades around it are measured from the right place.
        const double around =
            std::max(std::fabs(f(point - 2 * s.spacing)), std::fabs(f(point + 2 * s.spacing)));
        const double top = std::fabs(f(point));
        if (std::isfinite(top) && !(top <= 4.0 * around)) {
            point = summit(f, std::max(s.lower, point - 2 * s.spacing),
                           std::min(s.upper, point + 2 * s.spacing));
        }
        if (point > s.lower && point < s.upper) {
            located.push_back(point);
        }
    }
    // One point for each place: of those closer than two samples, the one where |f| is
    // largest (a point without a value the largest of all).
    std::sort(located.begin(), located.end());
    std::vector<double> merged;
    double kept = 0.0;
    for (const double point : located) {
        const double value = f(point);
        const double size = std::isfinite(value) ? std::fabs(value) : INFINITY;
        if (!merged.empty() && point - merged.back() < 2.0 * s.spacing) {
            if (size > kept) {
                merged.back() = point;
                kept = size;
            }
            continue;
        }
        merged.push_back(point);
        kept = size;
    }
    return merged;
}

// What the rounding of f's own operations costs its integral, and where it costs f most of its
// digits: f there is the small difference of much larger values.
struct OwnRounding {
    double integral = 0.0;
    std::optional<Cancellation> cancellation;
};

// Half of a double's digits lost, over at least this part of the samples: a stretch, not the
// odd sample that lands next to a zero of f.
constexpr int kDigitsLost = 8;
constexpr int kStretch = kSamples / 100;

// What the moves of f's values in `moved` (by sample) cost its integral, and where they are
// most of f.
OwnRounding roundingCost(const std::vector<double>& moved, const Sampling& s) {
    OwnRounding result;
    int lossy = 0;
    Cancellation worst{INFINITY, -INFINITY, 0};
    for (int k = 0; k <= kSamples; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (!std::isfinite(moved[at]) || !std::isfinite(s.f[k])) {
            continue;
        }
        const double kept = kEpsilon * std::fabs(s.f[k]);
        // A few roundings of f's own size the floor allows already.
        result.integral += (k == 0 || k == kSamples ? 0.5 : 1.0) *
                           std::max(0.0, moved[at] - 4.0 * kept) * s.spacing;
        const int lost =
            moved[at] == 0.0 ? 0
            : kept == 0.0
                ? 16
                : std::clamp(static_cast<int>(std::lround(std::log10(moved[at] / kept))), 0, 16);
        if (lost >= kDigitsLost) {
            ++lossy;
            worst = {std::min(worst.from, s.x[k]), std::max(worst.to, s.x[k]),
                     std::max(worst.digitsLost, lost)};
        }
    }
    if (lossy >= kStretch) {
        result.cancellation = worst;
    }
    return result;
}

OwnRounding ownRounding(const OwnRoundingOf& rounding, const Sampling& s) {
    if (!rounding.functions) {
        return {};
    }
    std::vector<double> moved(kSamples + 1);
    for (int k = 0; k <= kSamples; ++k) {
        moved[static_cast<std::size_t>(k)] = rounding.functions(s.x[k]);
    }
    OwnRounding result = roundingCost(moved, s);
    if (rounding.operations) {
        for (int k = 0; k <= kSamples; ++k) {
            const auto at = static_cast<std::size_t>(k);
            moved[at] = std::max(moved[at], rounding.operations(s.x[k]));
        }
        // The operators' rounding joins only where it is most of f over a stretch: elsewhere
        // an ulp or two of each product is what the floor allows for already.
        if (OwnRounding wider = roundingCost(moved, s); wider.cancellation) {
            result = wider;
        }
    }
    return result;
}

// What rounding leaves uncertain in any quadrature of f: a few ulps of every value, and what
// one ulp of x changes f by (a steep or huge f, as exp(700 x) is, amplifies it).
double conditioningFloor(const Sampling& s, double magnitude) {
    double values = 0.0;
    double slopes = 0.0;
    for (int k = 1; k < kSamples; ++k) {
        const double term = std::fabs(s.f[k]);
        // The smaller |x| of the two: where f changes within one spacing, at the end nearer 0.
        const double slope = std::min(std::fabs(s.x[k - 1]), std::fabs(s.x[k + 1])) *
                             std::fabs(s.f[k + 1] - s.f[k - 1]) / 2;
        if (std::isfinite(term) && std::isfinite(slope)) {
            values += term * s.spacing;
            slopes += slope;
        }
    }
    // A peak narrower than a spacing that a sample happens to hit (1/(1+x^2) on -1e15..1e15)
    // counts a whole spacing wide: the quadratures' integral of |f| is then the better bound.
    if (values > 2.0 * magnitude) {
        values = magnitude;
    }
    return kEpsilon * (8.0 * values + 2.0 * slopes);
}

// The piece next to a singular point, below the last decade followed: the integral of the
// law the last decades show. A power, c |x - c|^-p, gives f(d) d / (1 - p) from c to the
// distance d; a power with a logarithmic factor, c |x - c|^-p ln(1/|x - c|)^q (x^-0.99 ln x),
// grows a little faster each decade, and a pure power's tail would miss what that factor adds
// below d. The law taken from the last decades and from those one before, their difference is
// the tail's uncertainty.
struct Tail {
    double value = 0.0;
    double uncertainty = 0.0;
};

// The exponents p and q of c d^-p ln(1/d)^q through the values at j - 2, j - 1 and j: the
// growth over a decade is p + q (ln L_j - ln L_{j-1}) / (L_j - L_{j-1}), L = ln(1/d).
std::optional<std::pair<double, double>> logPowerThrough(const Approach& a, std::size_t j) {
    const auto logarithm = [&a](std::size_t i) { return -std::log(a.distance[i]); };
    const auto slope = [&](std::size_t i) {
        const double outer = logarithm(i - 1);
        const double inner = logarithm(i);
        return std::log(inner / outer) / (inner - outer);
    };
    if (j < 2 || !(a.distance[j - 2] < 1.0)) {
        return std::nullopt;
    }
    const double r1 = slope(j - 1);
    const double r2 = slope(j);
    const double q = (a.growth(j) - a.growth(j - 1)) / (r2 - r1);
    const double p = a.growth(j) - q * r2;
    if (!std::isfinite(p) || !std::isfinite(q) || !(p < 1.0)) {
        return std::nullopt;
    }
    return std::pair(p, q);
}

// The integral from 0 to d of c x^-p ln(1/x)^q, as f(d) d / (1 - p) times the factor the
// logarithm brings: with s = 1 - p and z = s ln(1/d), the integral over t from 0 to infinity of
// (1 + t/z)^q e^-t (1 for a pure power).
double logPowerTail(const Approach& a, std::size_t j, double p, double q) {
    const double s = 1.0 - p;
    const double z = -s * std::log(a.distance[j]);
    double factor = 1.0;
    if (q != 0.0) {
        boost::math::quadrature::exp_sinh<double> method;
        factor =
            method.integrate([q, z](double t) { return std::pow(1.0 + t / z, q) * std::exp(-t); });
    }
    return a.value[j] * a.distance[j] / s * factor;
}

// The same on either side of c, as the distance runs from 0 to d in both.
Tail tailOf(const Approach& a) {
    const std::size_t n = a.value.size();
    const double d = a.distance[n - 1];
    const double fd = a.value[n - 1];
    const double withLast = fd * d / (1.0 - a.growth(n - 1));
    const double withBefore = fd * d / (1.0 - a.growth(n - 2));
    const Tail power{withLast, std::fabs(withLast - withBefore) + 1e-9 * std::fabs(withLast)};
    // A pure power grows the same to the last digit the decades tell.
    if (std::fabs(a.growth(n - 1) - a.growth(n - 2)) <= kPowerKnownTo || n < 4) {
        return power;
    }
    const auto last = logPowerThrough(a, n - 1);
    const auto before = logPowerThrough(a, n - 2);
    if (!last || !before) {
        return power;
    }
    const double withLaw = logPowerTail(a, n - 1, last->first, last->second);
    const double withLawBefore = logPowerTail(a, n - 1, before->first, before->second);
    const Tail law{withLaw, std::fabs(withLaw - withLawBefore) + 1e-9 * std::fabs(withLaw)};
    if (!std::isfinite(law.value) || !std::isfinite(law.uncertainty)) {
        return power;
    }
    return law;
}

// f over a..b as a function on -1..1, times the half-width, so that a rule's error and its
// integral come out in one unit whatever the width. A node that rounds onto an end, where f
// may have no value, is taken at the nearest double inside.
template <typename F>
auto onUnitInterval(const F& f, double a, double b) {
    const double middle = a + (b - a) / 2;
    const double half = (b - a) / 2;
    const double first = std::nextafter(a, b);
    const double last = std::nextafter(b, a);
    return [&f, middle, half, first, last](double t) {
        return half * f(std::clamp(middle + half * t, first, last));
    };
}

// Gauss-Kronrod (7 and 15 points) on a piece, halved where the two disagree by more than a
// part in 10^13 of the piece's integral of |f|. The rule is mapped onto -1..1 here, with the
// piece's half-width inside the integrand, so that its error and its integral are in the same
// units whatever the width: the library's own recursion compares the two across scales.
constexpr int kKronrodDepth = 12;
// A function that is noise at every scale would have every piece halved to the full depth:
// past this many evaluations the pieces stand as they are, with the errors they claim.
constexpr std::int64_t kKronrodBudget = 500'000;
// Past this many evaluations, a piece still open is integrated again by the 61-point rule,
// which halves on from there.
constexpr std::int64_t kKronrodLowBudget = 120'000;
// The second opinion on such an f takes pieces two of the first's wide, where the 61-point
// rule's value is good to the last digits while the 30-point one it is checked against is
// not yet: it claims far more than it errs, and is not halved beyond this budget, as what it
// is for is the value to hold the first against.
constexpr std::int64_t kSecondOpinionBudget = 150'000;
// Tanh-sinh halves its step at most this many times on a piece (the library's default is 15).
constexpr std::size_t kTanhSinhLevels = 10;

// A piece of the Kronrod partition: its rule's value, error and integral of |f|, and whether
// it may still be halved.
struct KronrodPiece {
    double a = 0.0;
    double b = 0.0;
    int depth = 0;
    double value = 0.0;
    double error = 0.0;
    double magnitude = 0.0;
    bool open = false;
    bool high = false;  // the 61-point rule, not the 15-point one
};

template <typename F>
KronrodPiece kronrodPiece(const F& f, double a, double b, int depth, bool high = false) {
    KronrodPiece piece{a, b, depth};
    piece.high = high;
    const double middle = a + (b - a) / 2;
    piece.value =
        high ? boost::math::quadrature::gauss_kronrod<double, 61>::integrate(
                   onUnitInterval(f, a, b), -1.0, 1.0, 0, 0.0, &piece.error, &piece.magnitude)
             : boost::math::quadrature::gauss_kronrod<double, 15>::integrate(
                   onUnitInterval(f, a, b), -1.0, 1.0, 0, 0.0, &piece.error, &piece.magnitude);
    // A piece a few thousand doubles wide sees f on the grid of its doubles, noisy to about
    // that part of its integral: halving it further finds only that noise.
    const double resolution = 8.0 * kEpsilon * std::max(std::fabs(a), std::fabs(b)) / (b - a);
    // Values below the normal doubles carry fewer digits, so a piece whose rules differ only by
    // the rounding of such values (next to a zero of high order) cannot settle to a part in
    // 10^13: halving it spends the budget on nothing.
    const double subnormalNoise = 64.0 * std::numeric_limits<double>::denorm_min();
    piece.open = depth > 0 && piece.error > std::max(1e-13, resolution) * piece.magnitude &&
                 piece.error > subnormalNoise && middle > a && middle < b;
    return piece;
}

// The pieces between `splits` (but those skipped) halved until each is settled, its depth is
// spent or the budget is: the budget goes to the piece with the largest error first, over all
// of them, so that no late piece starves for what early ones spent. The halves are added back
// up as the halving went, so that where the budget suffices the sum is the one a halving piece
// by piece, depth first, makes to the bit.
template <typename F>
std::vector<std::optional<KronrodPiece>> settledKronrod(
    const F& f, const std::vector<double>& splits, const std::vector<bool>& skip, bool high,
    std::int64_t budget, bool* switched = nullptr, std::vector<double>* middles = nullptr) {
    // Each piece's halves, once it has them, by its place in the tree of one top piece.
    std::vector<std::map<std::pair<double, double>, KronrodPiece>> trees(splits.size());
    // A piece's error travels with it in the queue: looking it up in its tree at every
    // comparison cost more than the rule itself.
    struct Key {
        double error;
        std::size_t top;
        std::pair<double, double> where;
    };
    const auto larger = [](const Key& l, const Key& r) { return l.error < r.error; };
    std::priority_queue<Key, std::vector<Key>, decltype(larger)> open(larger);
    const std::int64_t given = budget;
    const auto add = [&](std::size_t top, double a, double b, int depth, bool high) {
        const KronrodPiece piece = kronrodPiece(f, a, b, depth, high);
        budget -= high ? 61 : 15;
        trees[top][{a, b}] = piece;
        if (piece.open) {
            open.push({piece.error, top, {a, b}});
        }
    };
    for (std::size_t i = 0; i + 1 < splits.size(); ++i) {
        if (!skip[i]) {
            add(i, splits[i], splits[i + 1], kKronrodDepth, high);
        }
    }
    while (!open.empty() && budget > 0) {
        const Key key = open.top();
        open.pop();
        const std::size_t top = key.top;
        const std::pair<double, double> where = key.where;
        const KronrodPiece& piece = trees[top].at(where);
        if (!piece.high && budget < given - kKronrodLowBudget) {
            // f needs far more pieces than most do, as one that turns thousands of times
            // does: the 15-point rule would need pieces four times narrower than the 61-point
            // one to settle, and the halving to reach them would spend the budget before it.
            add(top, piece.a, where.second, piece.depth, true);
            if (switched != nullptr) {
                *switched = true;
            }
            continue;
        }
        const double middle = piece.a + (piece.b - piece.a) / 2;
        const int depth = piece.depth - 1;
        add(top, piece.a, middle, depth, piece.high);
        add(top, middle, where.second, depth, piece.high);
    }
    // Summed from the leaves up, left half plus right half, as the halving made them.
    std::vector<std::optional<KronrodPiece>> settled(splits.size());
    for (std::size_t i = 0; i + 1 < splits.size(); ++i) {
        if (skip[i]) {
            continue;
        }
        const auto& tree = trees[i];
        const auto sum = [&tree, middles](const auto& self, double a, double b) -> KronrodPiece {
            const KronrodPiece& piece = tree.at({a, b});
            const double middle = a + (b - a) / 2;
            const auto left = tree.find({a, middle});
            if (left == tree.end()) {
                if (middles != nullptr) {
                    middles->push_back(middle);
                }
                return piece;
            }
            const KronrodPiece l = self(self, a, middle);
            const KronrodPiece r = self(self, middle, b);
            KronrodPiece both = piece;
            both.value = l.value + r.value;
            both.error = l.error + r.error;
            both.magnitude = l.magnitude + r.magnitude;
            return both;
        };
        settled[i] = sum(sum, splits[i], splits[i + 1]);
    }
    return settled;
}

// Pieces narrower than this part of the interval lie in the decades next to a point of
// interest.
constexpr double kNeighbourhood = 1e-6;

struct Estimate {
    double value = 0.0;
    double error = 0.0;
    double magnitude = 0.0;  // the integral of |f|
};

template <typename Integrator>
Estimate integratePieces(const std::vector<double>& splits, const std::vector<bool>& skip,
                         Integrator&& integrate) {
    Estimate total;
    for (std::size_t i = 0; i + 1 < splits.size(); ++i) {
        if (skip[i]) {
            continue;
        }
        double error = 0.0;
        double magnitude = 0.0;
        const double a = splits[i];
        const double b = splits[i + 1];
        const double value = integrate(a, b, error, magnitude);
        total.value += value;
        total.error += std::max(error, 4.0 * kEpsilon * magnitude);
        // In the decades next to a singular point, f changes across a piece as much as the
        // piece is wide, and the doubles place its nodes only to an ulp of x: both rules see the
        // same rounded nodes, so their agreement cannot tell this part of the error.
        const double width = b - a;
        if (width < kNeighbourhood * (splits.back() - splits.front())) {
            total.error +=
                8.0 * kEpsilon * std::max(std::fabs(a), std::fabs(b)) / width * magnitude;
        }
        total.magnitude += magnitude;
    }
    return total;
}

// The settled pieces between `splits`, summed as integratePieces sums any.
Estimate integrateSettled(const std::vector<double>& splits, const std::vector<bool>& skip,
                          const std::vector<std::optional<KronrodPiece>>& settled) {
    return integratePieces(splits, skip, [&](double a, double, double& error, double& magnitude) {
        const auto at = static_cast<std::size_t>(std::lower_bound(splits.begin(), splits.end(), a) -
                                                 splits.begin());
        error = settled[at]->error;
        magnitude = settled[at]->magnitude;
        return settled[at]->value;
    });
}

Reference integralOnce(const Function& f, double lower, double upper,
                       const OwnRoundingOf& rounding);

}  // namespace

// f near the top of the double range (exp(x) up to 709) overflows the quadratures' sums, and
// their error estimates, long before its integral does: then f is integrated scaled down by a
// power of two, which is exact, and the result scaled back where it is a double.
Reference adaptiveIntegral(const Function& f, double lower, double upper,
                           const OwnRoundingOf& rounding) {
    Reference once = integralOnce(f, lower, upper, rounding);
    if (once.value || once.divergence || !std::isfinite(lower) || !std::isfinite(upper)) {
        return once;
    }
    double largest = 0.0;
    for (const double y : sample(f, std::min(lower, upper), std::max(lower, upper)).f) {
        if (std::isfinite(y)) {
            largest = std::max(largest, std::fabs(y));
        }
    }
    constexpr double kNearTheTop = 0x1p900;
    if (!(largest > kNearTheTop)) {
        return once;
    }
    const int exponent = std::ilogb(largest);
    const Function scaled = [&f, exponent](double x) { return std::ldexp(f(x), -exponent); };
    const auto scaledDown = [exponent](const Function& g) -> Function {
        if (!g) {
            return {};
        }
        return [&g, exponent](double x) { return std::ldexp(g(x), -exponent); };
    };
    Reference down = integralOnce(
        scaled, lower, upper, {scaledDown(rounding.functions), scaledDown(rounding.operations)});
    if (!down.value) {
        return once;
    }
    down.value->value = std::ldexp(down.value->value, exponent);
    down.value->uncertainty = std::ldexp(down.value->uncertainty, exponent);
    if (!std::isfinite(down.value->value) || !std::isfinite(down.value->uncertainty)) {
        return once;
    }
    return down;
}

namespace {

Reference integralOnce(const Function& f, double lower, double upper,
                       const OwnRoundingOf& rounding) {
    if (lower == upper) {
        return {.value = ReferenceValue{0.0, 0.0, false},
                .divergence = std::nullopt,
                .whyNone = std::nullopt,
                .cancellation = std::nullopt,
                .vanishing = std::nullopt};
    }
    if (!std::isfinite(lower) || !std::isfinite(upper) || !std::isfinite(upper - lower)) {
        return none({.code = ReferenceFailure::LimitsTooFarApart});
    }
    if (upper < lower) {
        Reference reversed = integralOnce(f, upper, lower, rounding);
        if (reversed.value) {
            reversed.value->value = -reversed.value->value;
        }
        return reversed;
    }

    const Sampling s = sample(f, lower, upper);
    if (const std::optional<WhyNoReference> stretch = stretchWithoutValue(s)) {
        return none(*stretch);
    }
    if (oscillatesTooFast(s)) {
        return none({.code = ReferenceFailure::OscillatesTooFast, .count = kSamples + 1});
    }

    // The points to follow f towards: both limits, from inside, and each point found, from
    // both sides.
    struct Point {
        double x;
        double side;
    };
    const std::vector<double> found = features(f, s);
    std::vector<Point> points = {{lower, 1.0}, {upper, -1.0}};
    for (const double x : found) {
        points.push_back({x, -1.0});
        points.push_back({x, 1.0});
    }
    std::vector<double> anchors = {lower, upper};
    anchors.insert(anchors.end(), found.begin(), found.end());
    std::sort(anchors.begin(), anchors.end());

    std::vector<double> decadeSplits;
    struct TailPiece {
        double from;
        double to;
        Tail tail;
    };
    std::vector<TailPiece> tails;
    // Stretches next to a point where f tends to 0 but has no value: f is 0 there.
    struct Stretch {
        double from;
        double to;
    };
    std::vector<Stretch> vanishing;
    std::optional<Vanishing> vanished;  // the first, for the words
    for (const Point& p : points) {
        // Reach: two samples, or half the way to the next anchor on that side.
        double reach = 2.0 * s.spacing;
        for (const double other : anchors) {
            const double distance = (other - p.x) * p.side;
            if (distance > 0.0) {
                reach = std::min(reach, distance / 2);
            }
        }
        const Approach a = approach(f, p.x, p.side, reach);
        if (a.noValueAt) {
            return none({.code = ReferenceFailure::NoValueNear, .from = p.x, .to = *a.noValueAt});
        }
        if (a.vanishesAt) {
            vanishing.push_back({std::min(p.x, *a.vanishesAt), std::max(p.x, *a.vanishesAt)});
            if (!vanished) {
                vanished =
                    Vanishing{p.x, vanishing.back().from, vanishing.back().to, *a.vanishesAt};
            }
        }
        if (a.singular() && (a.overflows || a.power() >= kDivergent)) {
            const std::size_t n = a.value.size();
            const double power = a.overflows && n < 3 ? 1.0 : a.power();
            const double rise = n >= 3 ? a.growth(n - 1) - a.growth(n - 2) : 0.0;
            const bool pure = !a.overflows && std::fabs(rise) <= kPowerKnownTo;
            if (pure && power < 1.0 - kPowerKnownTo) {
                // A power below 1 to the last digit the decades tell: the tail has its
                // closed form.
                decadeSplits.insert(decadeSplits.end(), a.position.begin(), a.position.end());
                const double inner = a.position.back();
                tails.push_back({std::min(p.x, inner), std::max(p.x, inner), tailOf(a)});
                continue;
            }
            if (!a.overflows && rise > kPowerKnownTo && power < 1.0 - kPowerKnownTo) {
                return none({.code = ReferenceFailure::PowerDriftsToOne,
                             .from = p.x,
                             .power = power,
                             .rise = rise,
                             .count = static_cast<int>(n)});
            }
            return {
                .value = std::nullopt,
                .divergence = Divergence{p.x, std::isfinite(power) ? std::max(power, 1.0) : 1.0},
                .whyNone = std::nullopt,
                .cancellation = std::nullopt,
                .vanishing = std::nullopt};
        }
        if (!a.growsSomewhere()) {
            continue;
        }
        decadeSplits.insert(decadeSplits.end(), a.position.begin(), a.position.end());
        if (a.singular()) {
            const double inner = a.position.back();
            tails.push_back({std::min(p.x, inner), std::max(p.x, inner), tailOf(a)});
        }
    }

    // The two partitions: the anchors and the decades in both, and a grid of their own.
    const auto partitionAt = [&](const std::vector<double>& inner) {
        std::vector<double> splits = anchors;
        splits.insert(splits.end(), decadeSplits.begin(), decadeSplits.end());
        splits.insert(splits.end(), inner.begin(), inner.end());
        std::sort(splits.begin(), splits.end());
        splits.erase(std::unique(splits.begin(), splits.end()), splits.end());
        std::vector<bool> skip(splits.size(), false);
        for (std::size_t i = 0; i + 1 < splits.size(); ++i) {
            for (const TailPiece& t : tails) {
                if (splits[i] == t.from && splits[i + 1] == t.to) {
                    skip[i] = true;
                }
            }
        }
        return std::pair(std::move(splits), std::move(skip));
    };
    const auto partition = [&](int pieceSamples, int offset) {
        std::vector<double> inner;
        for (int k = offset; k < kSamples; k += pieceSamples) {
            if (k == 0) {
                continue;
            }
            const double x = s.x[k];
            // Clear of the anchors, whose neighbourhoods the decades divide.
            const bool clear = std::all_of(anchors.begin(), anchors.end(), [&](double a) {
                return std::fabs(x - a) > 2.5 * s.spacing;
            });
            if (clear) {
                inner.push_back(x);
            }
        }
        return partitionAt(inner);
    };

    const auto finiteF = [&f, &vanishing](double x) {
        const double value = f(x);
        if (!std::isfinite(value)) {
            for (const Stretch& v : vanishing) {
                if (std::isnan(value) && x >= v.from && x <= v.to) {
                    return 0.0;
                }
            }
            throw NoValue{x, value};
        }
        return value;
    };
    Estimate kronrod;
    Estimate second;  // tanh-sinh, or where f turns too often for it, Kronrod staggered
    bool longRule = false;
    try {
        // Named, not bound by a structured binding, as a lambda below uses them.
        const auto kronrodPartition = partition(kKronrodPiece, 0);
        const std::vector<double>& splits = kronrodPartition.first;
        const std::vector<bool>& skip = kronrodPartition.second;
        std::vector<double> middles;
        kronrod = integrateSettled(
            splits, skip,
            settledKronrod(finiteF, splits, skip, false, kKronrodBudget, &longRule, &middles));
        if (longRule) {
            // f turns so often that tanh-sinh, whose nodes crowd at the ends of its pieces,
            // would need many times the evaluations to settle: the second opinion is the
            // 61-point rule on pieces as wide as those the first settled on, staggered
            // against them by half a piece.
            std::vector<double> everySecond;
            for (std::size_t i = 0; i < middles.size(); i += 2) {
                everySecond.push_back(middles[i]);
            }
            const auto staggered = partitionAt(everySecond);
            second = integrateSettled(staggered.first, staggered.second,
                                      settledKronrod(finiteF, staggered.first, staggered.second,
                                                     true, kSecondOpinionBudget));
        } else {
            const auto [tsSplits, tsSkip] = partition(kTanhSinhPiece, kTanhSinhPiece / 2);
            boost::math::quadrature::tanh_sinh<double> method(kTanhSinhLevels);
            second = integratePieces(
                tsSplits, tsSkip, [&](double a, double b, double& error, double& magnitude) {
                    // Its outermost points lie within 1e-300 of the ends: onUnitInterval keeps
                    // them off the ends themselves.
                    return method.integrate(onUnitInterval(finiteF, a, b), -1.0, 1.0, 1e-12, &error,
                                            &magnitude);
                });
        }
    } catch (const NoValue& missing) {
        return none({.code = std::isnan(missing.value) ? ReferenceFailure::NoValueAt
                                                       : ReferenceFailure::BeyondDoubleAt,
                     .from = missing.x});
    } catch (const std::bad_alloc&) {
        throw;  // memory, not f: the caller reports that as it reports it anywhere
    } catch (const std::exception&) {
        return none({.code = ReferenceFailure::UnusableValue});
    }

    double tailValue = 0.0;
    double tailUncertainty = 0.0;
    for (const TailPiece& t : tails) {
        tailValue += t.tail.value;
        tailUncertainty += t.tail.uncertainty;
    }
    const OwnRounding own = ownRounding(rounding, s);
    const double floor = 2.0 * own.integral + conditioningFloor(s, kronrod.magnitude) +
                         4.0 * kEpsilon * (kronrod.magnitude + std::fabs(tailValue));
    const Estimate& best = kronrod.error <= second.error ? kronrod : second;
    const double value = best.value + tailValue;
    const double apart = std::fabs(kronrod.value - second.value);
    double uncertainty = std::max(best.error, apart) + tailUncertainty + floor;
    if (apart > 2.0 * (kronrod.error + second.error) + floor) {
        // They disagree beyond what either claims: only the disagreement itself, widened, can
        // say how far the truth may lie.
        uncertainty = 2.0 * apart + kronrod.error + second.error + tailUncertainty + floor;
    }
    if (!std::isfinite(value) || !std::isfinite(uncertainty)) {
        return none({.code = ReferenceFailure::IntegralBeyondDouble});
    }
    if (uncertainty >= 0.5 * std::fabs(value) && uncertainty > 0.0 &&
        apart > 2.0 * (kronrod.error + second.error) + floor) {
        return none({.code = longRule ? ReferenceFailure::StaggeredRulesDisagree
                                      : ReferenceFailure::QuadraturesDisagree,
                     .first = kronrod.value + tailValue,
                     .second = second.value + tailValue});
    }
    return {.value = ReferenceValue{value, uncertainty, false},
            .divergence = std::nullopt,
            .whyNone = std::nullopt,
            .cancellation = own.cancellation,
            .vanishing = vanished};
}

}  // namespace

}  // namespace integral
