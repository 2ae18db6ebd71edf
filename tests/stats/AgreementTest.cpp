// The engine against plain textbook formulas on many random distributions:
// the results must agree to within a few units of the last place.
#include "StatsTestLists.h"

#include "stats/Bivariate.h"
#include "stats/Central.h"
#include "stats/Dispersion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace kalnor::stats {
namespace {

using namespace testing;

struct Sample {
    std::vector<double> x, y;
    std::vector<int> n;
    ValueList xs, ys;
    FrequencyList ns;
    long double N = 0;
};

// Ascending distinct values with frequencies 1 to 9.
Sample randomSample(std::mt19937& rng) {
    std::uniform_int_distribution<int> size(2, 40);
    std::uniform_int_distribution<int> cents(-100000, 100000);
    std::uniform_int_distribution<int> frequency(1, 9);
    Sample s;
    const int k = size(rng);
    while (static_cast<int>(s.x.size()) < k)
        s.x.push_back(cents(rng) / 100.0);
    std::sort(s.x.begin(), s.x.end());
    s.x.erase(std::unique(s.x.begin(), s.x.end()), s.x.end());
    for (double v : s.x) {
        s.y.push_back(cents(rng) / 100.0);
        s.n.push_back(frequency(rng));
        s.xs.push_back(CellValue::number(v));
        s.ys.push_back(CellValue::number(s.y.back()));
        s.ns.push_back(s.n.back());
        s.N += s.n.back();
    }
    return s;
}

long double weightedMean(const std::vector<double>& v, const Sample& s) {
    long double sum = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        sum += static_cast<long double>(v[i]) * s.n[i];
    return sum / s.N;
}

long double centralSum(const std::vector<double>& a, int r, const std::vector<double>& b, int t,
                       const Sample& s) {
    const long double ma = weightedMean(a, s), mb = weightedMean(b, s);
    long double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += std::pow(a[i] - ma, r) * std::pow(b[i] - mb, t) * s.n[i];
    return sum;
}

void expectClose(double engine, long double reference, long double scale, const char* what) {
    EXPECT_LE(std::fabs(static_cast<long double>(engine) - reference), 1e-13L * scale) << what;
}

TEST(Agreement, MeasuresMatchTheirFormulasOnRandomDistributions) {
    std::mt19937 rng(20260);
    for (int round = 0; round < 300; ++round) {
        const Sample s = randomSample(rng);
        ErrorRecord err;
        const long double mean = weightedMean(s.x, s);
        const long double var = centralSum(s.x, 2, s.x, 0, s) / s.N;
        const long double sd = std::sqrt(var);
        expectClose(MediaAritmetica(err, s.xs, s.ns), mean, 1000, "mean");
        expectClose(Varianza(err, s.xs, s.ns), var, var, "variance");
        expectClose(CuasiVarianza(err, s.xs, s.ns), var * s.N / (s.N - 1), var, "quasi");
        expectClose(MomentoCentral(err, s.xs, s.ns, 3), centralSum(s.x, 3, s.x, 0, s) / s.N,
                    var * sd, "m3");
        expectClose(AsimetriaFisher(err, s.xs, s.ns),
                    centralSum(s.x, 3, s.x, 0, s) / s.N / (var * sd), 1, "fisher");
        expectClose(CoefCurtosis(err, s.xs, s.ns),
                    centralSum(s.x, 4, s.x, 0, s) / s.N / (var * var) - 3, 10, "kurtosis");
        const long double cov = centralSum(s.x, 1, s.y, 1, s) / s.N;
        const long double vary = centralSum(s.y, 2, s.y, 0, s) / s.N;
        const long double scale = std::sqrt(var * vary);
        expectClose(Covarianza(err, s.xs, s.ys, s.ns), cov, scale, "covariance");
        expectClose(CoefCorrelacion(err, s.xs, s.ys, s.ns), cov / scale, 1, "correlation");
        expectClose(CoefRegresionX(err, s.xs, s.ys, s.ns), cov / var, std::fabs(cov / var) + 1,
                    "slope");
        expectClose(MomentoCentralBi(err, s.xs, s.ys, s.ns, 2, 1),
                    centralSum(s.x, 2, s.y, 1, s) / s.N, var * std::sqrt(vary), "m21");
        EXPECT_FALSE(err.failed()) << err.MensajeError;
    }
}

// Quantile k of q of the sample written out in full, s(1) <= … <= s(N): on
// an integer position j = kN/q the midpoint of s(j) and s(j + 1), otherwise
// s(⌈kN/q⌉).
double expandedQuantile(const Sample& s, int k, int q) {
    std::vector<double> all;
    for (std::size_t i = 0; i < s.x.size(); ++i)
        all.insert(all.end(), s.n[i], s.x[i]);
    const long long kN = static_cast<long long>(k) * static_cast<long long>(all.size());
    const long long j = kN / q;
    if (kN % q == 0)
        return (all[j - 1] + all[j]) / 2;
    return all[j];
}

TEST(Agreement, DiscreteQuantilesMatchTheWrittenOutSample) {
    std::mt19937 rng(7);
    const int parts[] = {2, 4, 5, 10, 100};
    for (int round = 0; round < 200; ++round) {
        const Sample s = randomSample(rng);
        for (int q : parts)
            for (int k = 1; k < q; ++k) {
                ErrorRecord err;
                const double engine = CuantilDiscreto(err, k, q, s.xs, s.ns);
                // A midpoint past the last record does not exist.
                const long long kN = static_cast<long long>(k) * static_cast<long long>(s.N);
                if (kN % q == 0 && kN / q == static_cast<long long>(s.N))
                    continue;
                ASSERT_FALSE(err.failed()) << k << "/" << q;
                EXPECT_EQ(engine, expandedQuantile(s, k, q)) << k << "/" << q;
            }
    }
}

TEST(Agreement, ClassQuantilesInterpolateLinearly) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        const Sample s = randomSample(rng);
        // Contiguous classes of width 1 from 0: the quantile is the position
        // itself whenever it falls inside a class.
        ValueList li, ls;
        for (std::size_t i = 0; i < s.x.size(); ++i) {
            li.push_back(CellValue::number(static_cast<double>(i)));
            ls.push_back(CellValue::number(static_cast<double>(i + 1)));
        }
        for (int k = 1; k < 10; ++k) {
            ErrorRecord err;
            const double engine = CuantilContinuo(err, k, 10, li, ls, s.ns);
            ASSERT_FALSE(err.failed());
            const long double position = k * s.N / 10;
            long double below = 0;
            std::size_t i = 0;
            while (below + s.n[i] < position)
                below += s.n[i++];
            if (below + s.n[i] == position) {
                EXPECT_EQ(engine, static_cast<double>(i + 1)) << k;
            } else {
                const long double expected = i + (position - below) / s.n[i];
                EXPECT_NEAR(engine, static_cast<double>(expected), 1e-15 * (i + 1)) << k;
            }
        }
    }
}

} // namespace
} // namespace kalnor::stats
