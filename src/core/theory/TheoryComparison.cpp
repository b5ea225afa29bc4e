#include "core/theory/TheoryComparison.h"

#include "core/backtest/HitStatistics.h"
#include "core/theory/ChanceLaws.h"
#include "core/theory/FitTests.h"

#include <bit>
#include <functional>
#include <numeric>

namespace {
using DrawRules::NumberMask;
using namespace ChanceLaws;

constexpr int kFirstBand = kMinSum / TheoryComparison::kSumBandWidth; // 20-29
constexpr int kLastBand = kMaxSum / TheoryComparison::kSumBandWidth;  // 230-239

NumberMask numbersWhere(const std::function<bool(int)> &wanted) {
    NumberMask mask = 0;
    for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n)
        if (wanted(n))
            mask |= DrawRules::maskOf(n);
    return mask;
}

int sumOf(NumberMask draw) {
    int sum = 0;
    for (; draw; draw &= draw - 1)
        sum += std::countr_zero(draw);
    return sum;
}

QStringList counting(int first, int last) {
    QStringList names;
    for (int k = first; k <= last; ++k)
        names << QString::number(k);
    return names;
}

TheoryTable emptyTable(const QString &name, const QStringList &categories) {
    TheoryTable t;
    t.name = name;
    t.categories = categories;
    t.observed.assign(std::size_t(categories.size()), 0);
    t.expected.assign(std::size_t(categories.size()), 0.0);
    return t;
}

void test(TheoryTable &t, double scale = 1.0, int df = 0) {
    const FitTests::Fit fit = FitTests::goodnessOfFit(t.observed, t.expected, scale, df);
    t.bins = fit.bins;
    t.statistic = fit.statistic;
    t.df = fit.df;
    t.p = fit.p;
}

// A table whose category is one value of each draw (0..size−1), expected from the number of
// sets of seven that give it.
TheoryTable perDraw(const QString &name, const std::vector<NumberMask> &draws, int size, std::uint64_t (*sets)(int),
                    const std::function<int(NumberMask)> &value) {
    TheoryTable t = emptyTable(name, counting(0, size - 1));
    for (const NumberMask d : draws)
        ++t.observed[std::size_t(value(d))];
    for (int k = 0; k < size; ++k)
        t.expected[std::size_t(k)] = double(draws.size()) * probability(sets(k));
    test(t);
    return t;
}

TheoryTable sumTable(const std::vector<NumberMask> &draws) {
    QStringList bands;
    for (int b = kFirstBand; b <= kLastBand; ++b)
        bands << QStringLiteral("%1-%2")
                     .arg(b * TheoryComparison::kSumBandWidth)
                     .arg(b * TheoryComparison::kSumBandWidth + TheoryComparison::kSumBandWidth - 1);
    TheoryTable t = emptyTable(QStringLiteral("合計"), bands);
    for (const NumberMask d : draws)
        ++t.observed[std::size_t(sumOf(d) / TheoryComparison::kSumBandWidth - kFirstBand)];
    const SumCounts &counts = sumCounts();
    for (int s = kMinSum; s <= kMaxSum; ++s)
        t.expected[std::size_t(s / TheoryComparison::kSumBandWidth - kFirstBand)] +=
            double(draws.size()) * probability(counts[std::size_t(s)]);
    test(t);
    return t;
}

// Each draw against the one before it in the range: the first has none to repeat from.
TheoryTable repeatTable(const std::vector<NumberMask> &draws) {
    TheoryTable t = emptyTable(QStringLiteral("前回からの引っ張り"), counting(0, kDrawn));
    for (std::size_t i = 1; i < draws.size(); ++i)
        ++t.observed[std::size_t(std::popcount(draws[i] & draws[i - 1]))];
    const double pairs = draws.empty() ? 0.0 : double(draws.size() - 1);
    for (int j = 0; j <= kDrawn; ++j)
        t.expected[std::size_t(j)] = pairs * probability(repeatCount(j));
    test(t);
    return t;
}

// Gaps are counted in complete draws of the range, so a skipped draw does not lengthen one.
TheoryTable gapTable(const std::vector<NumberMask> &draws) {
    TheoryTable t = emptyTable(QStringLiteral("出現間隔"), counting(1, kGapCap - 1));
    t.categories << QStringLiteral("%1以上").arg(kGapCap);
    t.observed.push_back(0);
    t.expected.push_back(0);
    std::array<int, DrawRules::kNumberSlots> last;
    last.fill(-1);
    int gaps = 0;
    for (int i = 0; i < int(draws.size()); ++i)
        for (NumberMask d = draws[std::size_t(i)]; d; d &= d - 1) {
            const int n = std::countr_zero(d);
            if (last[std::size_t(n)] >= 0) {
                ++t.observed[std::size_t(std::min(i - last[std::size_t(n)], kGapCap) - 1)];
                ++gaps;
            }
            last[std::size_t(n)] = i;
        }
    for (int g = 1; g <= kGapCap; ++g)
        t.expected[std::size_t(g - 1)] = gaps * gapProbability(g);
    test(t);
    return t;
}

// A draw holds no number twice, so a number's count varies less than Pearson's X² assumes:
// times 36/30 it follows χ² with 36 degrees of freedom.
TheoryTable frequencyTable(const std::vector<NumberMask> &draws) {
    TheoryTable t = emptyTable(QStringLiteral("出現回数"), counting(DrawRules::kMinNumber, DrawRules::kMaxNumber));
    for (const NumberMask d : draws)
        for (int n = DrawRules::kMinNumber; n <= DrawRules::kMaxNumber; ++n)
            t.observed[std::size_t(n - 1)] += (d & DrawRules::maskOf(n)) != 0;
    const double each = double(draws.size()) * kDrawn / kPool;
    t.expected.assign(std::size_t(kPool), each);
    // Merged numbers would not follow the scaled law: with fewer than 5 expected each, no test.
    if (each >= FitTests::kMinExpected) {
        test(t, double(kPool - 1) / kOthers, kPool - 1);
    } else {
        t.bins.resize(std::size_t(kPool));
        std::iota(t.bins.begin(), t.bins.end(), 0);
        t.df = kPool - 1;
    }
    return t;
}
} // namespace

RangeDraws rangeDraws(const DrawHistory &history, TheoryRange range) {
    RangeDraws out;
    for (const DrawRecord &r : history.records()) {
        if (r.drawNumber < range.from || r.drawNumber > range.to)
            continue;
        if (!r.isComplete()) {
            ++out.skipped;
            continue;
        }
        NumberMask mask = 0;
        for (int k = 1; k <= DrawRecord::kMainCount; ++k)
            mask |= DrawRules::maskOf(r.number(k));
        out.draws.push_back(mask);
    }
    return out;
}

TheoryReport TheoryComparison::compare(const DrawHistory &history, TheoryRange range) {
    return compare(rangeDraws(history, range));
}

TheoryReport TheoryComparison::compare(const RangeDraws &in) {
    static const NumberMask odd = numbersWhere([](int n) { return n % 2 == 1; });
    static const NumberMask low = numbersWhere([](int n) { return n <= kLowTop; });
    const std::vector<NumberMask> &d = in.draws;

    TheoryReport report;
    report.draws = int(d.size());
    report.skipped = in.skipped;
    report.tables = {
        sumTable(d),
        perDraw(QStringLiteral("奇数の個数"), d, kDrawn + 1, oddCount,
                [](NumberMask m) { return std::popcount(m & odd); }),
        perDraw(QStringLiteral("低数字の個数"), d, kDrawn + 1, lowCount,
                [](NumberMask m) { return std::popcount(m & low); }),
        perDraw(QStringLiteral("連番の組数"), d, kMaxNeighbours + 1, neighbourCount,
                [](NumberMask m) { return std::popcount(m & (m >> 1)); }),
        repeatTable(d),
        gapTable(d),
        frequencyTable(d),
    };

    std::vector<double> tested;
    for (const TheoryTable &t : report.tables)
        if (t.p)
            tested.push_back(*t.p);
    const std::vector<double> corrected = HitStatistics::holmAdjusted(tested);
    std::size_t next = 0;
    for (TheoryTable &t : report.tables)
        if (t.p)
            t.pHolm = corrected[next++];
    return report;
}
