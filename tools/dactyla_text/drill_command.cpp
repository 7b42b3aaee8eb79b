#include "tools/dactyla_text/drill_command.h"

#include <array>
#include <cstdio>
#include <ostream>
#include <string>

#include "corpus/sentence_corpus.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "progress/key_map.h"
#include "progress/key_statistics.h"
#include "tools/dactyla_text/commands.h"
#include "users/options_file.h"
#include "weak_keys/weak_key_drill.h"

namespace dactyla::text_tool {
namespace {

std::string figure(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string label(bool russian, KeyIndex key) { return keyLabel(keyboardLayout(russian)[key]); }

// The user's length window, as the program would use it; the defaults without Options.dat.
Options userOptions(const std::string& userDirectory, bool russian) {
    Options options;
    if (platform::fileExists(platform::joinPath(userDirectory, "Options.dat"))) {
        LiveOptions live;
        readOptions(live, userDirectory);
        options = live.options;
    }
    options.russian = russian ? 1 : 0;
    clampLengths(options);
    return options;
}

void printSpots(const WeakKeyDrill& drill, bool russian, std::ostream& out) {
    const WeakSpots& spots = drill.spots();
    out << "weak keys  " << (spots.keys.empty() ? "none\n" : "weight  badness  share of the text\n");
    for (const WeakKey& key : spots.keys)
        out << "  " << label(russian, key.key) << "\t   " << figure("%.5f", key.weight) << "  "
            << figure("%.3f", key.badness) << "    " << figure("%.2f%%", 100 * drill.keyFrequency()[key.key]) << "\n";
    out << "confusions " << (spots.confusions.empty() ? "none\n" : "typed instead, of the key's keystrokes\n");
    for (const WeakConfusion& confusion : spots.confusions)
        out << "  " << label(russian, confusion.expected) << " -> " << label(russian, confusion.typed) << "\t   "
            << confusion.count << " times, " << figure("%.1f%%", 100 * confusion.share) << "\n";
    out << "slow pairs " << (spots.pairs.empty() ? "none" : "median, slower than the learner's by") << "\n";
    for (const SlowPair& pair : spots.pairs)
        out << "  " << label(russian, pair.first) << label(russian, pair.second) << "\t   "
            << figure("%.0f ms", pair.medianMs) << ", " << figure("%.0f%%", 100 * pair.slowness) << " ("
            << pair.samples << " samples)\n";
    const WeakLines& lines = drill.lines();
    out << "lines      the best " << lines.quarterSize() << " of " << lines.scoredCount()
        << " sentences, scoring " << figure("%.4f", lines.quarterFloor()) << " and above (mean "
        << figure("%.4f", lines.meanScore()) << ")\n";
}

}  // namespace

int runDrill(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> user = userDirectoryOf(arguments, err);
    if (!user) return kBadInput;
    const std::string& userDirectory = *user;

    const bool russian = arguments.russian;
    const Options options = userOptions(userDirectory, russian);
    const std::string textPath = platform::joinPath(arguments.programDirectory, textFileName(russian));
    platform::File file = platform::File::open(
        textPath, {.mode = platform::OpenMode::existing, .hint = platform::AccessHint::sequential, .readOnly = true});
    const auto text = ScanText::read(file, indexedTextLimit(options.maxLength));
    if (!file.isOpen() || !text) return badInput(err, "cannot read " + textPath + " (missing or in use)");

    WeakKeyDrill drill;
    const bool aimed = drill.aim(loadWeaknessEvidence(userDirectory, russian), *text, options);
    if (!drill.spots().enough) {
        err << "too few keystrokes to aim at: " << drill.spots().judgedKeystrokes << " judged in "
            << (russian ? "Russian" : "English") << ", " << kKeystrokesForWeakKeys
            << " needed; the drill types ordinary sentences\n";
        return kSuccess;
    }
    if (arguments.lines) {
        std::array<char, kCorpusLineRoom> line {};
        for (std::uint32_t k = 0; aimed && k < *arguments.lines; ++k) {
            const std::uint16_t length = drill.nextLine(line.data());
            out.write(line.data(), length);
            out << '\n';
        }
        return kSuccess;
    }
    out << "user       " << arguments.user << " (" << (russian ? "Russian" : "English") << "), "
        << drill.spots().judgedKeystrokes << " judged keystrokes\n"
        << "text       " << textPath << "\n";
    printSpots(drill, russian, out);
    return kSuccess;
}

}  // namespace dactyla::text_tool
