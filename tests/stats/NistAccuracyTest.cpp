// Accuracy on the NIST StRD reference sets: LRE (number of correct significant
// digits, capped at 15) of the mean, the sample standard deviation and the
// Norris regression line. The data are stored as doubles, so the best any
// program can do is the exact result on those doubles (rounded once); the
// "best" columns hold that result, worked out once with exact rational
// arithmetic, and the engine must land within one unit in the last place of
// it. The limits are the LREs of those exact results, as quoted for the
// engine, with 0.3 digits to spare.
#include "stats/Bivariate.h"
#include "stats/Central.h"
#include "stats/Dispersion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kalnor::stats {
namespace {

struct NistSet {
    std::map<std::string, double> certified;
    std::vector<std::vector<double>> columns;
};

NistSet load(const std::string& name) {
    NistSet set;
    std::ifstream in(std::string(KALNOR_TEST_DATA) + "/nist/" + name + ".txt");
    EXPECT_TRUE(in) << name;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        if (line[0] == '#') {
            const auto colon = line.find(':');
            if (line.rfind("# certified_", 0) == 0 && colon != std::string::npos) {
                std::istringstream value(line.substr(colon + 1));
                std::string token;
                value >> token;
                set.certified[line.substr(2, colon - 2)] = std::strtod(token.c_str(), nullptr);
            }
            continue;
        }
        std::istringstream fields(line);
        std::string token;
        for (std::size_t c = 0; fields >> token; ++c) {
            if (set.columns.size() <= c)
                set.columns.emplace_back();
            set.columns[c].push_back(std::strtod(token.c_str(), nullptr));
        }
    }
    return set;
}

ValueList asValues(const std::vector<double>& xs) {
    ValueList list;
    for (double x : xs)
        list.push_back(CellValue::number(x));
    return list;
}

// How many doubles lie between a and b.
std::int64_t ulpDistance(double a, double b) {
    std::int64_t ia, ib;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    if (ia < 0)
        ia = std::numeric_limits<std::int64_t>::min() - ia;
    if (ib < 0)
        ib = std::numeric_limits<std::int64_t>::min() - ib;
    return ia > ib ? ia - ib : ib - ia;
}

constexpr double kSlack = 0.3;

double lre(double computed, double certified) {
    if (computed == certified)
        return 15.0;
    const double e = std::fabs(computed - certified) / std::fabs(certified);
    return std::min(15.0, -std::log10(e));
}

struct UnivariateCase {
    const char* name;
    double meanLimit;
    double sdLimit;
    double bestMean; // exact mean of the stored doubles, rounded
    double bestSd;   // exact sample deviation of the stored doubles, rounded
};

TEST(NistAccuracy, MeanAndSampleDeviationReachTheirLimits) {
    const UnivariateCase cases[] = {
        {"PiDigits", 15, 15, 4.5348, 2.867339060288708},
        {"Lottery", 15, 15, 518.9587155963303, 291.6997274709691},
        {"Lew", 15, 15, -177.435, 277.3321680443161},
        {"Mavro", 15, 13.1, 2.001856, 0.0004291234540030854},
        {"Michelso", 15, 13.8, 299.8524, 0.07901054781905066},
        {"NumAcc1", 15, 15, 10000002.0, 1.0},
        {"NumAcc2", 15, 15, 1.2, 0.09999999999999998},
        {"NumAcc3", 15, 9.5, 1000000.2, 0.1000000000349246},
        {"NumAcc4", 15, 8.3, 10000000.2, 0.10000000055879354},
    };
    std::printf("\nLRE        %6s %6s %6s   %6s %6s %6s\n", "mean", "best", "limit", "SD", "best",
                "limit");
    for (const auto& c : cases) {
        const NistSet set = load(c.name);
        ASSERT_EQ(set.columns.size(), 1u) << c.name;
        const ValueList x = asValues(set.columns[0]);
        const FrequencyList n(x.size(), 1);
        ErrorRecord err;
        const double mean = MediaAritmetica(err, x, n);
        ASSERT_FALSE(err.failed()) << c.name;
        const double sd = std::sqrt(CuasiVarianza(err, x, n));
        ASSERT_FALSE(err.failed()) << c.name;
        const double certifiedMean = set.certified.at("certified_mean");
        const double certifiedSd = set.certified.at("certified_sd_sample_n_minus_1");
        const double meanLre = lre(mean, certifiedMean);
        const double sdLre = lre(sd, certifiedSd);
        std::printf("%-10s %6.2f %6.2f %6.1f   %6.2f %6.2f %6.1f\n", c.name, meanLre,
                    lre(c.bestMean, certifiedMean), c.meanLimit, sdLre, lre(c.bestSd, certifiedSd),
                    c.sdLimit);
        EXPECT_GE(meanLre, c.meanLimit - kSlack) << c.name;
        EXPECT_GE(sdLre, c.sdLimit - kSlack) << c.name;
        EXPECT_LE(ulpDistance(mean, c.bestMean), 1) << c.name;
        EXPECT_LE(ulpDistance(sd, c.bestSd), 1) << c.name;
    }
}

TEST(NistAccuracy, NorrisRegressionLineReachesItsLimits) {
    const NistSet set = load("Norris");
    ASSERT_EQ(set.columns.size(), 2u);
    // The file holds "y x".
    const ValueList y = asValues(set.columns[0]);
    const ValueList x = asValues(set.columns[1]);
    const FrequencyList n(x.size(), 1);
    ErrorRecord err;
    const double slope = CoefRegresionX(err, x, y, n);
    ASSERT_FALSE(err.failed());
    const double intercept = RectaRegresion(err, x, y, n, kYsobreX, CellValue::number(0.0));
    ASSERT_FALSE(err.failed());
    // Exact least-squares line of the stored doubles, rounded.
    const double bestSlope = 1.0021168180204545;
    const double bestIntercept = -0.26232307377402675;
    const double certifiedSlope = set.certified.at("certified_B1");
    const double certifiedIntercept = set.certified.at("certified_B0");
    const double slopeLre = lre(slope, certifiedSlope);
    const double interceptLre = lre(intercept, certifiedIntercept);
    std::printf("\nNorris     slope %.2f (best %.2f, limit 14.4)   intercept %.2f (best %.2f, "
                "limit 14.1)\n",
                slopeLre, lre(bestSlope, certifiedSlope), interceptLre,
                lre(bestIntercept, certifiedIntercept));
    EXPECT_GE(slopeLre, 14.4 - kSlack);
    EXPECT_GE(interceptLre, 14.1 - kSlack);
    EXPECT_LE(ulpDistance(slope, bestSlope), 1);
    EXPECT_LE(ulpDistance(intercept, bestIntercept), 1);
}

} // namespace
} // namespace kalnor::stats
