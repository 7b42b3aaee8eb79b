#include "progress/chart_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/options.h"
#include "progress/key_statistics.h"
#include "texts/interface_texts.h"
#include "users/results_log.h"

namespace dactyla {
namespace {

// "S (20%, 180 сим/мин)", the speed left out while not known.
std::string namedWithFigures(const KeyScore& score) {
    const std::string label = score.key->bytes == " " ? std::string(texts::textC("chart.space")) : keyLabel(*score.key);
    char figures[64];
    if (const auto cpm = score.timing.cpm())
        std::snprintf(figures, sizeof figures, " (%.0f%%, %ld %s)", score.errorRate() * 100, std::lround(*cpm),
                      texts::textC("chart.speedAxis"));
    else
        std::snprintf(figures, sizeof figures, " (%.0f%%)", score.errorRate() * 100);
    return label + figures;
}

}  // namespace

ChartData loadChartData(const std::string& userDirectory, bool russian) {
    ChartData data;
    Options options;
    options.russian = russian ? 1 : 0;
    data.history = readResultsHistory(resultsPath(userDirectory, options));
    data.series = buildProgressSeries(data.history.sessions);
    const LoadedKeyStatistics keys = loadKeyStatistics(keyStatisticsPath(userDirectory, russian));
    data.scores = scoreKeys(keys.counts, russian, keys.timing);
    data.weakest = weakestKeys(data.scores, kWeakestNamed);
    data.leastMastered = leastMasteredKeys(data.scores, kWeakestNamed);
    data.hasKeystrokes = std::any_of(data.scores.begin(), data.scores.end(),
                                     [](const KeyScore& score) { return score.keystrokes > 0; });
    return data;
}

std::string weakestLine(const ChartData& data, ChartView view) {
    const bool mastery = view == ChartView::mastery;
    const std::vector<KeyScore>& keys = mastery ? data.leastMastered : data.weakest;
    if (keys.empty()) return mastery ? texts::textC("chart.noMasteryYet") : texts::textC("chart.noWeakKeys");
    std::string names = mastery ? texts::textC("chart.leastMastered") : texts::textC("chart.weakest");
    for (std::size_t k = 0; k < keys.size(); ++k) names += (k > 0 ? ", " : "") + namedWithFigures(keys[k]);
    return names;
}

}  // namespace dactyla
