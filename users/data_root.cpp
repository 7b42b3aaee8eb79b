#include "users/data_root.h"

#include <array>

#include "base/whole_file.h"
#include "corpus/sentence_corpus.h"
#include "platform/directory.h"
#include "platform/file.h"
#include "texts/interface_texts.h"

namespace dactyla {
namespace {

class SystemDataRootFiles final : public DataRootFiles {
public:
    bool fileExists(const std::string& path) override { return platform::fileExists(path); }

    bool makeDirectory(const std::string& directory) override {
        return platform::directoryExists(directory) || platform::createDirectory(directory);
    }

    bool canWrite(const std::string& directory) override {
        platform::File probe = platform::File::open(
            platform::joinPath(directory, "~dactyla-probe.tmp"),
            {.mode = platform::OpenMode::createAlways, .deleteOnClose = true});
        const char byte = 0;
        return probe.write(&byte, 1) == 1;
    }

    bool copyFile(const std::string& source, const std::string& target) override {
        return copyWholeFile(source, target);
    }
};

// Makes the profile folder and gives it its own copies of the shipped texts.
void prepareProfile(DataRoot& root, const std::string& programDirectory, DataRootFiles& files) {
    if (!files.makeDirectory(root.directory) || !files.canWrite(root.directory)) {
        root.writable = false;
        return;
    }
    for (const bool russian : {true, false}) {
        const std::string name = textFileName(russian);
        const std::string copy = platform::joinPath(root.directory, name);
        const std::string shipped = platform::joinPath(programDirectory, name);
        // Without a shipped text the corpus starts an empty one, as it does beside the program.
        if (files.fileExists(copy) || !files.fileExists(shipped)) continue;
        if (!files.copyFile(shipped, copy)) root.writable = false;
    }
}

}  // namespace

DataRootFiles& systemDataRootFiles() {
    static SystemDataRootFiles files;
    return files;
}

DataRoot locateDataRoot(const std::string& programDirectory, const std::string& localAppData, DataRootFiles& files) {
    const bool installed = files.fileExists(platform::joinPath(programDirectory, kInstalledMarkName));
    if (!installed && files.canWrite(programDirectory)) return {.directory = programDirectory};
    if (localAppData.empty()) return {.directory = programDirectory, .writable = false};
    return {.place = DataPlace::userProfile, .directory = platform::joinPath(localAppData, kProfileFolderName)};
}

DataRoot chooseDataRoot(const std::string& programDirectory, const std::string& localAppData, DataRootFiles& files) {
    DataRoot root = locateDataRoot(programDirectory, localAppData, files);
    if (root.place == DataPlace::userProfile) prepareProfile(root, programDirectory, files);
    return root;
}

std::string unwritableDataRootText(const DataRoot& root) {
    return texts::textString("dataRoot.unwritable") + root.directory + texts::textString("dataRoot.unwritableWhy");
}

std::string describeDataRoot(const DataRoot& root) {
    std::string line = root.place == DataPlace::programFolder ? "beside the program: " : "in the user's profile: ";
    line += root.directory;
    if (!root.writable) line += " (cannot be written)";
    return line;
}

}  // namespace dactyla
