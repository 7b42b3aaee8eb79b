#include "weak_keys/weak_key_drill.h"

#include <utility>

#include "progress/key_statistics.h"

namespace dactyla {

std::uint32_t weakLinesSeed(std::uint64_t judgedKeystrokes, std::uint32_t textSize) {
    return static_cast<std::uint32_t>(judgedKeystrokes) ^ static_cast<std::uint32_t>(judgedKeystrokes >> 32) ^ textSize;
}

WeaknessInput loadWeaknessEvidence(const std::string& userDirectory, bool russian) {
    const LoadedKeyStatistics loaded = loadKeyStatistics(keyStatisticsPath(userDirectory, russian));
    return evidenceFromStatistics(loaded.counts, loaded.timing, russian);
}

bool WeakKeyDrill::aim(WeaknessInput evidence, const ScanText& text, const Options& options) {
    const bool russian = options.russian != 0;
    evidence.russian = russian;
    evidence.keyFrequency = keyFrequencies(text.view(0, text.size()), russian);
    spots_ = findWeakSpots(evidence);
    keyFrequency_ = std::move(evidence.keyFrequency);
    aimed_ = false;
    if (!spots_.enough) return false;
    const SentenceRules rules {russian, options.minLength, options.maxLength};
    lines_.aim(text, rules, SpotScorer(spots_, russian), weakLinesSeed(spots_.judgedKeystrokes, text.size()));
    aimed_ = lines_.quarterSize() > 0;
    return aimed_;
}

std::uint16_t WeakKeyDrill::nextLine(char* destination) { return aimed_ ? lines_.nextLine(destination) : 0; }

}  // namespace dactyla
