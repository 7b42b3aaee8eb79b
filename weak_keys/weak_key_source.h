#pragma once
// The weak-key drill as a source of the strip's lines. At every session start it reads the
// learner's latest statistics and the language's text and aims at their weak spots; with too
// few keystrokes it says so and hands out ordinary sentences instead. Every finished session
// goes to the drill's own log (weak_keys/weak_key_log.h), never to the results log.
#include <cstdint>
#include <optional>
#include <string>

#include "base/options.h"
#include "corpus/sentence_scanner.h"
#include "drill/drill_corpus.h"
#include "drill/line_source.h"
#include "weak_keys/weak_key_drill.h"

namespace dactyla {

// What the drill asks of the program at a session start.
class WeakKeyHost {
public:
    virtual ~WeakKeyHost() = default;
    // The user's latest statistics of the language in force.
    virtual WeaknessInput weaknessEvidence() = 0;
    // The language's text, shipped and imported; none when it cannot be read.
    virtual std::optional<ScanText> drillText() = 0;
    // The ordinary sentences of the user; null while none are open.
    virtual DrillCorpus* sentences() = 0;
    // A short message for the learner; the session goes on after it.
    virtual void notify(const std::string& text) = 0;
};

class WeakKeySource final : public LineSource {
public:
    // `options` is the live record; it must outlive the source.
    WeakKeySource(WeakKeyHost& host, const Options& options, std::string userDirectory);

    bool hasLines() override;
    std::uint16_t nextLine(char* destination) override;
    bool lineTyped() override { return false; }
    void sessionFinished(const SessionSummary& summary) override;

    // The session running, or the last one, is aimed at weak spots (not ordinary sentences).
    bool aimed() const { return drill_.aimed(); }
    const WeakKeyDrill& drill() const { return drill_; }

private:
    bool aim();

    WeakKeyHost& host_;
    const Options& options_;
    std::string userDirectory_;
    // Kept from session to session: no line comes twice before the best quarter is used up.
    WeakKeyDrill drill_;
};

// The message for too few keystrokes, in the interface language.
std::string tooFewKeystrokesText(std::uint64_t judged);

}  // namespace dactyla
