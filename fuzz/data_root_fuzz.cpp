// Any installer mark, shipped texts and earlier profile copies: the data root goes to the profile
// exactly when the mark is there, each text is copied there byte for byte only when it had no copy,
// an earlier copy (whatever it holds) is never touched, no work file is left, and choosing again
// changes nothing.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "corpus/sentence_corpus.h"
#include "fuzz_support.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "users/data_root.h"

namespace {

using namespace dactyla;
using fuzz::require;

enum Flag : std::uint8_t {
    kMark = 1,
    kShippedRussian = 2,
    kShippedEnglish = 4,
    kCopiedRussian = 8,
    kCopiedEnglish = 16,
    kProfileIsAFile = 32,
};

// The input after its flag byte, cut into five pieces by the next four bytes.
struct Pieces {
    std::string_view part[5];
};
Pieces cut(std::string_view rest) {
    Pieces pieces;
    const std::string_view lengths = rest.substr(0, 4);
    rest.remove_prefix(lengths.size());
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t wanted = k < lengths.size() ? static_cast<unsigned char>(lengths[k]) * 4u : 0;
        pieces.part[k] = rest.substr(0, std::min(wanted, rest.size()));
        rest.remove_prefix(pieces.part[k].size());
    }
    pieces.part[4] = rest;
    return pieces;
}

void clear(const std::string& directory) {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    std::filesystem::create_directories(directory, ignored);
}

std::optional<std::string> contentOf(const std::string& path) { return platform::readWholeFile(path); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchDirectory scratch("data-root");
    if (size == 0) return 0;
    const std::uint8_t flags = data[0];
    const Pieces pieces = cut({reinterpret_cast<const char*>(data) + 1, size - 1});
    const std::string program = scratch.file("program");
    const std::string appData = scratch.file("appdata");
    clear(program);
    clear(appData);
    const std::string profile = platform::joinPath(appData, kProfileFolderName);

    const auto put = [](const std::string& path, std::string_view bytes) {
        platform::File file = platform::File::open(path, {.mode = platform::OpenMode::createAlways});
        require(file.write(bytes.data(), bytes.size()) == bytes.size(), "scratch file written");
    };
    if (flags & kMark) put(platform::joinPath(program, kInstalledMarkName), pieces.part[0]);
    if (flags & kShippedRussian) put(platform::joinPath(program, textFileName(true)), pieces.part[1]);
    if (flags & kShippedEnglish) put(platform::joinPath(program, textFileName(false)), pieces.part[2]);
    if (flags & kProfileIsAFile) {
        put(profile, pieces.part[3]);
    } else if (flags & (kCopiedRussian | kCopiedEnglish)) {
        require(platform::createDirectory(profile), "profile made");
        if (flags & kCopiedRussian) put(platform::joinPath(profile, textFileName(true)), pieces.part[3]);
        if (flags & kCopiedEnglish) put(platform::joinPath(profile, textFileName(false)), pieces.part[4]);
    }

    const DataRoot root = chooseDataRoot(program, appData);
    require((root.place == DataPlace::userProfile) == ((flags & kMark) != 0), "the mark alone sends data away");
    if (root.place == DataPlace::programFolder) {
        require(root.writable && root.directory == program, "a writable folder keeps its data");
        return 0;
    }
    require(root.directory == profile, "the profile folder");
    if (flags & kProfileIsAFile) {
        require(!root.writable, "a file where the folder should be cannot hold data");
        require(contentOf(profile) == std::string(pieces.part[3]), "and it is left as it was");
        return 0;
    }
    require(root.writable, "a fresh profile can be written");
    const std::pair<bool, std::uint8_t> texts[] = {{true, kShippedRussian}, {false, kShippedEnglish}};
    for (const auto& [russian, shippedFlag] : texts) {
        const std::string copy = platform::joinPath(profile, textFileName(russian));
        const bool copiedBefore = (flags & (russian ? kCopiedRussian : kCopiedEnglish)) != 0;
        const std::string_view earlier = russian ? pieces.part[3] : pieces.part[4];
        const std::string_view shipped = russian ? pieces.part[1] : pieces.part[2];
        if (copiedBefore)
            require(contentOf(copy) == std::string(earlier), "an earlier copy is never touched");
        else if (flags & shippedFlag)
            require(contentOf(copy) == std::string(shipped), "a copy holds the shipped text byte for byte");
        else
            require(!platform::fileExists(copy), "nothing is copied that was not shipped");
        require(!platform::fileExists(copy + ".part"), "no work file is left");
    }
    const DataRoot again = chooseDataRoot(program, appData);
    require(again.place == root.place && again.directory == root.directory && again.writable, "choosing is stable");
    // The corpus opens what was copied, whatever it holds.
    platform::createDirectory(platform::joinPath(profile, "Users"));
    platform::createDirectory(platform::joinPath(platform::joinPath(profile, "Users"), "fuzz"));
    Options options;
    options.russian = flags & 64 ? 1 : 0;
    require(openCorpus(options, profile, platform::joinPath(platform::joinPath(profile, "Users"), "fuzz")) != nullptr,
            "the corpus opens the data root's text");
    return 0;
}
