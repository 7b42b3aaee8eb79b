#include "tools/dactyla_text/stats_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "base/options.h"
#include "platform/directory.h"
#include "progress/key_map.h"
#include "progress/key_statistics.h"
#include "progress/results_history.h"
#include "tools/dactyla_text/commands.h"
#include "users/results_log.h"

namespace dactyla::text_tool {
namespace {

constexpr std::size_t kWeakestNamed = 5;
constexpr std::size_t kSlowestPairsNamed = 10;
// "—" (CP1251), for a figure not known yet.
constexpr const char* kUnknown = "\x97";

std::string fixed(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string duration(std::uint64_t seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%llu:%.2u:%.2u", static_cast<unsigned long long>(seconds / 3600),
                  static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
    return text;
}

std::string isoDate(const platform::Date& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4d-%.2d-%.2d", date.year, date.month, date.day);
    return text;
}

// A field a spreadsheet reads back as it was: quoted when it holds a comma or a quote.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// Judged keys by falling error rate, then keys with too few keystrokes; keys never typed are left out.
std::vector<KeyScore> keysWeakestFirst(const std::vector<KeyScore>& scores) {
    std::vector<KeyScore> typed;
    std::copy_if(scores.begin(), scores.end(), std::back_inserter(typed),
                 [](const KeyScore& score) { return score.keystrokes > 0; });
    std::stable_sort(typed.begin(), typed.end(), [](const KeyScore& a, const KeyScore& b) {
        if (a.judged() != b.judged()) return a.judged();
        const auto left = a.wrong * b.keystrokes;
        const auto right = b.wrong * a.keystrokes;
        return left != right ? left > right : a.keystrokes > b.keystrokes;
    });
    return typed;
}

std::string typedInstead(const KeyScore& score) { return score.wrong > 0 ? byteLabel(score.confusedWith) : ""; }

// The bytes typed instead with their shares of the key's keystrokes: "g 20.0%, s 5.0%".
std::string confusionShares(const KeyScore& score) {
    std::string shares;
    for (const KeyCounts::Confusion& confusion : score.confusions)
        shares += (shares.empty() ? "" : ", ") + byteLabel(confusion.typed) + " " +
                  fixed(100.0 * confusion.count / static_cast<double>(score.keystrokes)) + "%";
    return shares;
}

std::string whole(const std::optional<double>& value, const std::string& unknown) {
    return value ? std::to_string(std::lround(*value)) : unknown;
}

std::string masteryText(const std::optional<double>& mastery, const std::string& unknown) {
    if (!mastery) return unknown;
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", *mastery);
    return text;
}

// Every pair, slowest median first; equal medians in the pairs' own order.
std::vector<PairTiming> pairsSlowestFirst(const TimingStatistics& timing) {
    std::vector<PairTiming> pairs = timing.pairs();
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const PairTiming& a, const PairTiming& b) { return *a.medianMs() > *b.medianMs(); });
    return pairs;
}

void printSessions(const ResultsHistory& history, std::ostream& out) {
    if (history.sessions.empty()) {
        out << "sessions  none yet (a session is logged when it lasts 2 minutes and ends with Yes)\n";
        return;
    }
    const ProgressSeries series = buildProgressSeries(history.sessions);
    const LoggedSession& best = history.sessions[*series.best];
    out << "sessions  " << history.sessions.size() << ", " << formatDate(series.first) << " to "
        << formatDate(series.last) << "\n"
        << "speed     best " << best.speed << " (" << formatDate(best.date) << "), last 10 average "
        << fixed(series.recentAverage) << ", last " << history.sessions.back().speed << " chars/min\n"
        << "typing    " << duration(series.totalSeconds) << " in logged sessions\n";
    if (history.skippedLines > 0) out << "note      " << history.skippedLines << " lines of the log are not results\n";
}

void printKeyNames(const char* heading, const std::vector<KeyScore>& keys, std::ostream& out) {
    out << heading;
    for (const KeyScore& score : keys) out << " " << keyLabel(*score.key);
    out << (keys.empty() ? " none\n" : "\n");
}

void printPairs(const TimingStatistics& timing, std::ostream& out) {
    const std::vector<PairTiming> slowest = slowestPairs(timing, kSlowestPairsNamed);
    if (slowest.empty()) {
        out << "\npairs     none timed " << kLatenciesToRank << " times yet\n";
        return;
    }
    out << "\nslowest pairs      count  median\n";
    for (const PairTiming& pair : slowest) {
        char line[96];
        std::snprintf(line, sizeof line, "%-14s %9u %7s\n", pairLabel(pair.previous, pair.character).c_str(),
                      pair.count, whole(pair.medianMs(), kUnknown).c_str());
        out << line;
    }
}

void printKeys(const LoadedKeyStatistics& loaded, bool russian, std::ostream& out) {
    if (loaded.state == StoredFileState::damaged) {
        out << "          the file is damaged or not Dactyla's; it is kept aside when the next session is stored\n";
        return;
    }
    if (loaded.state == StoredFileState::unreadable) {
        out << "          the file cannot be read (in use?)\n";
        return;
    }
    const auto scores = scoreKeys(loaded.counts, russian, loaded.timing);
    const auto ordered = keysWeakestFirst(scores);
    if (ordered.empty()) {
        out << "          none yet (keystrokes are counted from the next session on)\n";
        return;
    }
    printKeyNames("weakest  ", weakestKeys(ordered, kWeakestNamed), out);
    printKeyNames("slowest  ", slowestKeys(scores, kWeakestNamed), out);
    out << "\nkey    keystrokes   wrong  error%  median   p90   cpm  hes.  mastery  typed instead\n";
    for (const KeyScore& score : ordered) {
        char line[160];
        std::snprintf(line, sizeof line, "%-6s %10llu %7llu %6s%s %7s %5s %5s %5u %8s  %s\n",
                      keyLabel(*score.key).c_str(), static_cast<unsigned long long>(score.keystrokes),
                      static_cast<unsigned long long>(score.wrong), fixed(score.errorRate() * 100).c_str(),
                      score.judged() ? " " : "?", whole(score.timing.medianMs, kUnknown).c_str(),
                      whole(score.timing.p90Ms, kUnknown).c_str(), whole(score.timing.cpm(), kUnknown).c_str(),
                      score.timing.hesitations, masteryText(score.mastery, kUnknown).c_str(),
                      confusionShares(score).c_str());
        out << line;
    }
    out << "(? fewer than " << kKeystrokesToJudge << " keystrokes: too few to judge)\n"
        << "(median and p90 in ms of the last " << kLatencySamples << " timed keystrokes; hes. waits over "
        << kHesitationFloorMs << " ms or " << kHesitationFactor << " times the median; mastery from "
        << kDefaultMasteryTargets.minCleanSamples << " timed keystrokes on, 1.00 at "
        << kDefaultMasteryTargets.targetCpm << " chars/min within " << kDefaultMasteryTargets.errorLimit * 100
        << "% errors)\n";
    printPairs(loaded.timing, out);
}

void printCsv(const ResultsHistory& history, const LoadedKeyStatistics& loaded, bool russian, std::ostream& out) {
    out << "date,speed,error_percent,minutes,seconds,alphabet\r\n";
    for (const LoggedSession& session : history.sessions)
        out << isoDate(session.date) << ',' << session.speed << ',' << fixed(session.errorPercent) << ','
            << unsigned {session.minutes} << ',' << unsigned {session.seconds} << ',' << (session.alphabet ? 1 : 0)
            << "\r\n";
    out << "\r\nkey,keystrokes,wrong,error_percent,judged,typed_instead,median_ms,p90_ms,cpm,hesitations,mastery\r\n";
    if (loaded.state == StoredFileState::valid)
        for (const KeyScore& score : keysWeakestFirst(scoreKeys(loaded.counts, russian, loaded.timing)))
            out << csvField(keyLabel(*score.key)) << ',' << score.keystrokes << ',' << score.wrong << ','
                << fixed(score.errorRate() * 100) << ',' << (score.judged() ? 1 : 0) << ','
                << csvField(typedInstead(score)) << ',' << whole(score.timing.medianMs, "") << ','
                << whole(score.timing.p90Ms, "") << ',' << whole(score.timing.cpm(), "") << ','
                << score.timing.hesitations << ',' << masteryText(score.mastery, "") << "\r\n";
    out << "\r\npair,count,median_ms\r\n";
    if (loaded.state != StoredFileState::valid) return;
    for (const PairTiming& pair : pairsSlowestFirst(loaded.timing))
        out << csvField(pairLabel(pair.previous, pair.character)) << ',' << pair.count << ','
            << whole(pair.medianMs(), "") << "\r\n";
}

}  // namespace

int runStats(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> user = userDirectoryOf(arguments, err);
    if (!user) return kBadInput;
    const std::string& userDirectory = *user;

    Options options;
    options.russian = arguments.russian ? 1 : 0;
    const std::string logPath = resultsPath(userDirectory, options);
    const std::string keysPath = keyStatisticsPath(userDirectory, arguments.russian);
    const ResultsHistory history = readResultsHistory(logPath);
    const LoadedKeyStatistics keys = loadKeyStatistics(keysPath);
    if (arguments.csv) {
        printCsv(history, keys, arguments.russian, out);
        return kSuccess;
    }
    out << "user      " << arguments.user << " (" << (arguments.russian ? "Russian" : "English") << ")\n"
        << "log       " << logPath << "\n";
    printSessions(history, out);
    out << "keys      " << keysPath << "\n";
    printKeys(keys, arguments.russian, out);
    return kSuccess;
}

}  // namespace dactyla::text_tool
