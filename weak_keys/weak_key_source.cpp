#include "weak_keys/weak_key_source.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "platform/system.h"
#include "texts/interface_texts.h"
#include "weak_keys/weak_key_log.h"

namespace dactyla {

std::string tooFewKeystrokesText(std::uint64_t judged) {
    std::array<char, 512> text {};
    std::snprintf(text.data(), text.size(), texts::textC("weakKeys.tooFew"), static_cast<unsigned>(judged),
                  static_cast<unsigned>(kKeystrokesForWeakKeys));
    return text.data();
}

WeakKeySource::WeakKeySource(WeakKeyHost& host, const Options& options, std::string userDirectory)
    : host_(host), options_(options), userDirectory_(std::move(userDirectory)) {}

// Aimed lines when there are any; otherwise a session of ordinary sentences, when there are any.
bool WeakKeySource::hasLines() {
    if (aim()) return true;
    DrillCorpus* corpus = host_.sentences();
    return corpus != nullptr && corpus->sentenceCount() != 0;
}

bool WeakKeySource::aim() {
    WeaknessInput evidence = host_.weaknessEvidence();
    const std::optional<ScanText> text = host_.drillText();
    const ScanText none;
    const bool aimed = drill_.aim(std::move(evidence), text ? *text : none, options_);
    if (!drill_.spots().enough) host_.notify(tooFewKeystrokesText(drill_.spots().judgedKeystrokes));
    return aimed;
}

std::uint16_t WeakKeySource::nextLine(char* destination) {
    if (drill_.aimed()) return drill_.nextLine(destination);
    DrillCorpus* corpus = host_.sentences();
    return corpus != nullptr ? corpus->nextCorpusLine(destination, options_) : 0;
}

void WeakKeySource::sessionFinished(const SessionSummary& summary) {
    const SessionResult result {static_cast<std::uint16_t>(std::min<std::uint32_t>(summary.speed, 0xFFFF)),
                                summary.errorPercent, summary.minutes, summary.seconds};
    const std::vector<WeakKey> none;
    if (!appendWeakKeysLog(userDirectory_, options_.russian != 0, result, drill_.aimed() ? drill_.spots().keys : none,
                           platform::utcDate()))
        host_.notify(texts::textString("weakKeys.logFailed"));
}

}  // namespace dactyla
