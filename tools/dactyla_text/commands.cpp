#include "tools/dactyla_text/commands.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>

#include "corpus/sentence_corpus.h"
#include "corpus/sentence_import.h"
#include "corpus/text_encoding.h"
#include "dactyla_version.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "platform/system.h"
#include "tools/dactyla_text/course_command.h"
#include "tools/dactyla_text/drill_command.h"
#include "tools/dactyla_text/stats_command.h"
#include "users/data_root.h"
#include "users/options_file.h"

namespace dactyla::text_tool {

const char* const kHelp =
    "Usage:\n"
    "  dactyla-text check FILE [--lang ru|en] [--min N] [--max N] [--limit N]\n"
    "      Lists the sentences Dactyla takes from the text FILE: first their number,\n"
    "      then one a line: byte offset, counted length, the sentence (line breaks shown as\n"
    "      spaces). --lang picks the capitals a sentence starts with (default ru); --min and\n"
    "      --max the length window, 10 to 120 (default 10 and 120); --limit how many to list.\n"
    "  dactyla-text index PROGRAM_DIR USER --lang ru|en\n"
    "      Validates USER's index of PROGRAM_DIR's text exactly as Dactyla does when the user\n"
    "      is selected, rebuilding it when it no longer matches, and prints its header and\n"
    "      number of sentences. Index: PROGRAM_DIR/Users/USER/random.rus or random.eng; text:\n"
    "      PROGRAM_DIR/TextData.Rus or TextData.Eng; the length window comes from the user's\n"
    "      Options.dat, or the defaults when there is none. A text saved as UTF-8 or UTF-16\n"
    "      is converted to CP1251 first, its original kept beside it, as Dactyla does.\n"
    "  dactyla-text import FILE --lang ru|en [--min N] [--max N] [--caps N] [--out F]\n"
    "      Runs the sentence import on the text FILE and writes exactly the bytes it\n"
    "      would add (each cleaned sentence followed by CR LF) to F or standard output; the\n"
    "      number found goes to standard error. --min and --max as for check; --caps the\n"
    "      longest run of capitals a sentence may hold, 1 to 255 (default 4).\n"
    "  dactyla-text add PROGRAM_DIR USER FILE --lang ru|en [--caps N]\n"
    "      Adds the sentences the import accepts from FILE to PROGRAM_DIR's text and USER's\n"
    "      index, as the program's \"add\" button does; the length window and the capital\n"
    "      runs come from the user's Options.dat unless --caps is given. Every user's index\n"
    "      is rebuilt when it is next opened.\n"
    "  dactyla-text stats PROGRAM_DIR USER --lang ru|en [--csv]\n"
    "      USER's sessions from the results log (count, first and last date, best speed,\n"
    "      the average of the last 10, typing time) and the keys from Keys - Rus.dat or\n"
    "      Keys - Eng.dat, weakest first: keystrokes, mistakes, error rate and the character\n"
    "      typed most often instead. --csv prints both tables as CSV for a spreadsheet.\n"
    "  dactyla-text drill PROGRAM_DIR USER --lang ru|en [--lines N]\n"
    "      What the weak-keys drill would aim at for USER: the weak keys, the confusions (a\n"
    "      key typed for another in 5 % of its keystrokes or more, at least 5 times) and the\n"
    "      slow pairs of keys, with their weights, from Keys - Rus.dat or Keys - Eng.dat and\n"
    "      the text. With --lines N only the first N lines a weak-keys session started now\n"
    "      would get, each with the space the drill adds after it, CP1251, one a line.\n"
    "  dactyla-text course PROGRAM_DIR USER --lang ru|en [--lines N]\n"
    "      USER's course: the line \"unlocked\" with the unlocked characters in the order they\n"
    "      were unlocked, the line \"focus\" with the focus character, then each unlocked key\n"
    "      with its mastery (\"-\" while not yet known). With --lines, only N lesson lines as\n"
    "      Dactyla would feed them now, CP1251, one a line. The key order is PROGRAM_DIR's\n"
    "      Course.txt; the state Course - Rus.dat or Course - Eng.dat in the user's folder.\n"
    "  Texts may be CP1251, UTF-8 with or without a byte-order mark, or UTF-16 LE or BE with one;\n"
    "  they are converted to CP1251 first, and anything else is read as CP1251.\n"
    "  dactyla-text --help\n"
    "Exit status: 0 done, 1 a file cannot be read or written, 2 a wrong command line.\n";

namespace {

const char* const kDataHelp =
    "Users and texts of PROGRAM_DIR live beside it when the folder is writable and holds no\n"
    "installed.mark (the installer's), otherwise in %LOCALAPPDATA%\\Dactyla (texts copied there\n"
    "on first use); every command above that takes PROGRAM_DIR uses that place.\n"
    "This program's folder keeps its data ";

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

int badInput(std::ostream& err, const std::string& message) {
    err << "dactyla-text: " << message << "\n";
    return kBadInput;
}

std::optional<std::string> userDirectoryOf(const Arguments& arguments, std::ostream& err) {
    if (!platform::directoryExists(arguments.programDirectory)) {
        badInput(err, "no program directory " + arguments.programDirectory);
        return std::nullopt;
    }
    if (!isPlainName(arguments.user)) {
        badInput(err, "'" + arguments.user + "' is not a user name");
        return std::nullopt;
    }
    std::string userDirectory =
        platform::joinPath(platform::joinPath(arguments.programDirectory, "Users"), arguments.user);
    if (!platform::directoryExists(userDirectory)) {
        badInput(err, "no user directory " + userDirectory);
        return std::nullopt;
    }
    return userDirectory;
}

int runCheck(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    platform::File file = platform::File::open(arguments.file, {.mode = platform::OpenMode::existing,
                                                                .hint = platform::AccessHint::sequential,
                                                                .readOnly = true});
    const auto size = file.size();
    if (!file.isOpen() || !size) return badInput(err, "cannot read " + arguments.file + " (missing or in use)");
    const auto decoded = readAsCp1251(file, indexedTextLimit(arguments.maxLength), kLargestImportSource);
    if (!decoded) return badInput(err, "cannot read " + arguments.file);
    const ScanText* const text = &decoded->text;

    // Only the sentences listed are kept; the rest are counted.
    const std::size_t limit = arguments.limit.value_or(std::numeric_limits<std::size_t>::max());
    std::vector<FoundSentence> sentences;
    std::size_t found = 0;
    forEachIndexableSentence(*text, {arguments.russian, arguments.minLength, arguments.maxLength},
                             [&](const FoundSentence& sentence) {
                                 if (found++ < limit) sentences.push_back(sentence);
                             });
    out << found << " sentences in " << arguments.file << " (" << languageName(arguments.russian)
        << ", length " << arguments.minLength << " to " << arguments.maxLength << ")\n";
    if (decoded->encoding != TextEncoding::cp1251)
        out << "note: read as " << encodingName(decoded->encoding)
            << " and converted to CP1251; offsets are those of the converted text\n";
    if (*size > kLastIndexableOffset + 1)
        out << "note: the text is over 16 MiB; only sentences starting in its first 16 MiB are taken\n";
    for (const FoundSentence& sentence : sentences) {
        out << sentence.start << '\t' << sentence.length << '\t'
            << visibleSentence(text->view(sentence.start, sentence.end)) << '\n';
    }
    if (sentences.size() < found) out << "... " << found - sentences.size() << " more\n";
    return kSuccess;
}

namespace {

// The user's corpus opened as the program opens it when the user is selected.
struct UserCorpus {
    std::string userDirectory;
    Options options;
    std::unique_ptr<SentenceCorpus> corpus;
};

std::optional<UserCorpus> openUserCorpus(const Arguments& arguments, std::ostream& err) {
    std::optional<std::string> userDirectory = userDirectoryOf(arguments, err);
    if (!userDirectory) return std::nullopt;
    UserCorpus user;
    user.userDirectory = std::move(*userDirectory);
    LiveOptions live;
    const std::string optionsPath = platform::joinPath(user.userDirectory, "Options.dat");
    if (platform::fileExists(optionsPath)) {
        readOptions(live, user.userDirectory);
        if (!live.optionsFile.isOpen()) {
            badInput(err, "cannot read " + optionsPath + " (in use by Dactyla)");
            return std::nullopt;
        }
        user.options = live.options;
    }
    user.options.russian = arguments.russian ? 1 : 0;

    CorpusError error = CorpusError::none;
    user.corpus = openCorpus(user.options, arguments.programDirectory, user.userDirectory, &error);
    if (!user.corpus) {
        badInput(err, corpusProblem(error));
        return std::nullopt;
    }
    return user;
}

std::string importProblem(ImportStatus status, const Arguments& arguments, const std::string& temporaryDirectory) {
    switch (status) {
    case ImportStatus::sourceUnreadable: return "cannot read " + arguments.file + " (missing or in use)";
    case ImportStatus::sourceTooLarge: return arguments.file + " is larger than 256 MiB";
    case ImportStatus::temporaryFiles:
        return std::string("cannot create or write ") + kImportSentencesName + " and " + kImportOffsetsName + " in " +
               temporaryDirectory + " (in use by Dactyla?)";
    case ImportStatus::textTooLarge: return "the text would grow past 16 MiB; nothing was added";
    case ImportStatus::writeFailed: return "cannot write the text or the index; both are as they were";
    case ImportStatus::outputFailed: return "cannot write " + arguments.out.value_or("the sentences");
    case ImportStatus::done:
    case ImportStatus::nothingFound: break;
    }
    return "the import failed";
}

}  // namespace

int runIndex(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    auto user = openUserCorpus(arguments, err);
    if (!user) return kBadInput;
    const std::string userDirectory = user->userDirectory;
    auto& corpus = user->corpus;
    const bool rebuilt = corpus->rebuiltOnOpen();
    const std::uint32_t count = corpus->entryCount();
    const std::optional<TextConversion> conversion = corpus->textConversion();
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
    if (conversion && conversion->converted)
        out << "converted the text from " << encodingName(conversion->from) << " to CP1251; the original is "
            << conversion->keptName << "\n";
    else if (conversion)
        out << "the text is " << encodingName(conversion->from) << " and could not be converted to CP1251\n";
    return kSuccess;
}

int runImport(const Arguments& arguments, std::ostream& out, std::ostream& err, const std::string& temporaryDirectory) {
    ImportRules rules {arguments.russian, arguments.minLength, arguments.maxLength, Options {}.maxCapitalRun};
    if (arguments.maxCapitalRun) rules.maxCapitalRun = *arguments.maxCapitalRun;
    platform::File source = platform::File::open(arguments.file, {.mode = platform::OpenMode::existing,
                                                                  .hint = platform::AccessHint::sequential,
                                                                  .readOnly = true});
    // Created once the chosen file has been read whole, so an output named like it cannot
    // cut it short first.
    platform::File file;
    const auto outputOpen = [&] {
        if (!file.isOpen()) file = platform::File::open(*arguments.out, {.mode = platform::OpenMode::createAlways});
        return file.isOpen();
    };
    // Straight from the scan's write blocks: the import's work files are not needed here.
    const ImportScan scan = scanImportInto(std::move(source), rules, [&](std::string_view block) {
        if (arguments.out) return outputOpen() && file.write(block.data(), block.size()) == block.size();
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
        return static_cast<bool>(out);
    });
    if (scan.status != ImportStatus::done)
        return badInput(err, importProblem(scan.status, arguments, temporaryDirectory));
    if (arguments.out && !outputOpen()) return badInput(err, "cannot write " + *arguments.out);
    err << scan.found << " sentences found in " << arguments.file << " (" << encodingName(scan.encoding) << ")\n";
    return kSuccess;
}

int runAdd(const Arguments& arguments, std::ostream& out, std::ostream& err, const std::string& temporaryDirectory) {
    const std::string textPath = platform::joinPath(arguments.programDirectory, textFileName(arguments.russian));
    if (arguments.file == textPath) return badInput(err, arguments.file + " is the program's own text");
    auto user = openUserCorpus(arguments, err);
    if (!user) return kBadInput;
    ImportRules rules = importRules(user->options);
    if (arguments.maxCapitalRun) rules.maxCapitalRun = *arguments.maxCapitalRun;

    SentenceImport import(temporaryDirectory);
    const ImportScan scan = import.scan(arguments.file, rules);
    if (scan.status != ImportStatus::done)
        return badInput(err, importProblem(scan.status, arguments, temporaryDirectory));
    const std::uint32_t before = user->corpus->entryCount();
    const ImportAppend added = import.append(*user->corpus);
    if (added.status != ImportStatus::done && added.status != ImportStatus::nothingFound)
        return badInput(err, importProblem(added.status, arguments, temporaryDirectory));
    out << "found     " << scan.found << " sentences in " << arguments.file << " ("
        << encodingName(scan.encoding) << ")\n"
        << "added     " << added.added << " to " << textPath << "\n"
        << "sentences " << before << " before, " << user->corpus->entryCount() << " now\n";
    return kSuccess;
}

int runTool(const std::vector<std::string>& words, std::ostream& out, std::ostream& err,
            const std::string& temporaryDirectory) {
    const ParsedArguments parsed = parseArguments(words);
    if (!parsed.arguments) {
        err << "dactyla-text: " << parsed.error << " (see dactyla-text --help)\n";
        return kUsage;
    }
    Arguments arguments = *parsed.arguments;
    const std::string programFolder = arguments.programDirectory;
    if (!arguments.programDirectory.empty() && platform::directoryExists(arguments.programDirectory)) {
        // From here on the folder stands for its data: beside it, or in the profile, as Dactyla decides.
        const DataRoot root = chooseDataRoot(arguments.programDirectory, platform::localAppDataDirectory());
        if (!root.writable) return badInput(err, "cannot keep Dactyla's data in " + root.directory);
        arguments.programDirectory = root.directory;
    }
    switch (arguments.command) {
    case Command::check: return runCheck(arguments, out, err);
    case Command::index: return runIndex(arguments, out, err);
    case Command::importSentences: return runImport(arguments, out, err, temporaryDirectory);
    case Command::addSentences: return runAdd(arguments, out, err, temporaryDirectory);
    case Command::stats: return runStats(arguments, out, err);
    case Command::drill: return runDrill(arguments, out, err);
    case Command::course: return runCourse(arguments, programFolder, out, err);
    case Command::help: break;
    }
    out << "dactyla-text " << kVersion << "\n" << kHelp << kDataHelp
        << describeDataRoot(locateDataRoot(platform::programDirectory(), platform::localAppDataDirectory())) << "\n";
    return kSuccess;
}

}  // namespace dactyla::text_tool
