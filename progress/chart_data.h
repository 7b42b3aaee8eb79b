#pragma once
// What the progress chart shows, read once when it opens: the logged sessions with their series,
// and the score of every key with the weakest named.
#include <string>
#include <vector>

#include "progress/key_map.h"
#include "progress/results_history.h"

namespace dactyla {

// What the keyboard is coloured by.
enum class ChartView { errors, mastery };

inline constexpr std::size_t kWeakestNamed = 5;

struct ChartData {
    ResultsHistory history;
    ProgressSeries series;
    std::vector<KeyScore> scores;         // every key of the layout
    std::vector<KeyScore> weakest;        // by mistakes
    std::vector<KeyScore> leastMastered;  // known, below 1
    bool hasKeystrokes = false;
};

ChartData loadChartData(const std::string& userDirectory, bool russian);

// The line below the keyboard: the weakest keys of the view, each with its error rate and speed.
std::string weakestLine(const ChartData& data, ChartView view);

}  // namespace dactyla
