#include "tools/dactyla_text/commands.h"

#include <algorithm>
#include <ostream>

#include "corpus/sentence_corpus.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "users/options.h"

namespace dactyla::text_tool {

const char* const kHelp =
    "Usage:\n"
    "  dactyla-text check FILE [--lang ru|en] [--min N] [--max N] [--limit N]\n"
    "      Lists the sentences Dactyla takes from the CP1251 text FILE: first their number,\n"
    "      then one a line: byte offset, counted length, the sentence (line breaks shown as\n"
    "      spaces). --lang picks the capitals a sentence starts with (default ru); --min and\n"
    "      --max the length window, 10 to 120 (default 10 and 120); --limit how many to list.\n"
    "  dactyla-text index PROGRAM_DIR USER --lang ru|en\n"
    "      Validates USER's index of PROGRAM_DIR's text exactly as Dactyla does when the user\n"
    "      is selected, rebuilding it when it no longer matches, and prints its header and\n"
    "      number of sentences. Index: PROGRAM_DIR/Users/USER/random.rus or random.eng; text:\n"
    "      PROGRAM_DIR/TextData.Rus or TextData.Eng; the length window comes from the user's\n"
    "      Options.dat, or the defaults when there is none.\n"
    "  dactyla-text --help\n"
    "Exit status: 0 done, 1 a file cannot be read or written, 2 a wrong command line.\n";

namespace {

const char* languageName(bool russian) { return russian ? "Russian" : "English"; }

// Line breaks inside a sentence are shown as the one space they read as.
std::string visibleSentence(std::string_view raw) {
    std::string shown;
    for (std::size_t k = 0; k < raw.size(); ++k) {
        if (raw[k] == '\r' && k + 1 < raw.size() && raw[k + 1] == '\n') continue;
        shown += raw[k] == '\r' || raw[k] == '\n' ? ' ' : raw[k];
    }
    return shown;
}

int badInput(std::ostream& err, const std::string& message) {
    err << "dactyla-text: " << message << "\n";
    return kBadInput;
}

bool isPlainName(const std::string& name) {
    return name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

const char* corpusProblem(CorpusError error) {
    switch (error) {
    case CorpusError::textFile: return "cannot open the text file (read-only folder, or in use by Dactyla)";
    case CorpusError::indexFile: return "cannot open the index file (read-only folder, or in use by Dactyla)";
    case CorpusError::indexWrite: return "cannot write the rebuilt index (disk full?)";
    case CorpusError::none: break;
    }
    return "cannot open the corpus";
}

}  // namespace

int runCheck(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    platform::File file = platform::File::open(arguments.file, {.mode = platform::OpenMode::existing,
                                                                .hint = platform::AccessHint::sequential,
                                                                .readOnly = true});
    const auto size = file.size();
    if (!file.isOpen() || !size) return badInput(err, "cannot read " + arguments.file + " (missing or in use)");
    const auto text = ScanText::read(file, indexedTextLimit(arguments.maxLength));
    if (!text) return badInput(err, "cannot read " + arguments.file);

    std::vector<FoundSentence> sentences;
    forEachIndexableSentence(*text, {arguments.russian, arguments.minLength, arguments.maxLength},
                             [&sentences](const FoundSentence& sentence) { sentences.push_back(sentence); });
    out << sentences.size() << " sentences in " << arguments.file << " (" << languageName(arguments.russian)
        << ", length " << arguments.minLength << " to " << arguments.maxLength << ")\n";
    if (*size > kLastIndexableOffset + 1)
        out << "note: the text is over 16 MiB; only sentences starting in its first 16 MiB are taken\n";
    const std::size_t listed = std::min<std::size_t>(sentences.size(), arguments.limit.value_or(sentences.size()));
    for (std::size_t k = 0; k < listed; ++k) {
        const FoundSentence& sentence = sentences[k];
        out << sentence.start << '\t' << sentence.length << '\t'
            << visibleSentence(text->view(sentence.start, sentence.end)) << '\n';
    }
    if (listed < sentences.size()) out << "... " << sentences.size() - listed << " more\n";
    return kSuccess;
}

int runIndex(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    if (!platform::directoryExists(arguments.programDirectory))
        return badInput(err, "no program directory " + arguments.programDirectory);
    if (!isPlainName(arguments.user)) return badInput(err, "'" + arguments.user + "' is not a user name");
    const std::string userDirectory =
        platform::joinPath(platform::joinPath(arguments.programDirectory, "Users"), arguments.user);
    if (!platform::directoryExists(userDirectory)) return badInput(err, "no user directory " + userDirectory);

    Options options;
    LiveOptions live;
    const std::string optionsPath = platform::joinPath(userDirectory, "Options.dat");
    if (platform::fileExists(optionsPath)) {
        readOptions(live, userDirectory);
        if (!live.optionsFile.isOpen()) return badInput(err, "cannot read " + optionsPath + " (in use by Dactyla)");
        options = live.options;
    }
    options.russian = arguments.russian ? 1 : 0;

    CorpusError error = CorpusError::none;
    auto corpus = openCorpus(options, arguments.programDirectory, userDirectory, &error);
    if (!corpus) return badInput(err, corpusProblem(error));
    const bool rebuilt = corpus->rebuiltOnOpen();
    const std::uint32_t count = corpus->entryCount();
    closeCorpus(corpus);

    const std::string indexPath = platform::joinPath(userDirectory, indexFileName(arguments.russian));
    const std::string textPath = platform::joinPath(arguments.programDirectory, textFileName(arguments.russian));
    const auto stored = platform::readWholeFile(indexPath);
    if (!stored) return badInput(err, "cannot read back " + indexPath);
    const IndexHeader header = parseIndexHeader(*stored);
    out << "index     " << indexPath << (rebuilt ? " (rebuilt)" : " (valid)") << "\n"
        << "text      " << textPath << "\n"
        << "header    textSize " << header.textSize << ", minLength " << header.minLength << ", maxLength "
        << header.maxLength << ", position " << header.position << "\n"
        << "sentences " << count << "\n";
    return kSuccess;
}

int runTool(const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = parseArguments(words);
    if (!parsed.arguments) {
        err << "dactyla-text: " << parsed.error << " (see dactyla-text --help)\n";
        return kUsage;
    }
    switch (parsed.arguments->command) {
    case Command::check: return runCheck(*parsed.arguments, out, err);
    case Command::index: return runIndex(*parsed.arguments, out, err);
    case Command::help: break;
    }
    out << kHelp;
    return kSuccess;
}

}  // namespace dactyla::text_tool
