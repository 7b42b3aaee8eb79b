#pragma once
// Where the users' data lives: Users and the two texts. A portable copy keeps them beside the
// program, in the layout the stored files are made for; an installed copy, or one whose folder
// cannot be written, keeps them in the user's profile. Sounds and help stay with the program.
#include <string>

namespace dactyla {

// Written beside the program by the installer and removed by its uninstaller. Program Files is
// not always read-only (older ACLs, Wine), so the folder's rights alone cannot tell.
inline constexpr const char* kInstalledMarkName = "installed.mark";
// The folder made under the user's local application data.
inline constexpr const char* kProfileFolderName = "Dactyla";

enum class DataPlace {
    programFolder,  // portable: beside the program
    userProfile,    // installed: %LOCALAPPDATA%\Dactyla
};

struct DataRoot {
    DataPlace place = DataPlace::programFolder;
    std::string directory;  // CP1251; every path to users, options, indexes, logs and texts starts here
    bool writable = true;   // false: `directory` cannot be made or written, so nothing can be kept
};

// What the choice needs of the file system; the system's own is below, tests refuse what they like.
class DataRootFiles {
public:
    virtual ~DataRootFiles() = default;
    virtual bool fileExists(const std::string& path) = 0;
    // Creates `directory` when missing; true when it exists afterwards.
    virtual bool makeDirectory(const std::string& directory) = 0;
    // Whether a file can be created in `directory` (and is removed again).
    virtual bool canWrite(const std::string& directory) = 0;
    // Copies all of `source` to `target`; a failed copy leaves no `target` behind.
    virtual bool copyFile(const std::string& source, const std::string& target) = 0;
};
DataRootFiles& systemDataRootFiles();

// Where the data of this program folder lives, without making or copying anything (for
// reports); `writable` is false only when there is no place at all.
DataRoot locateDataRoot(const std::string& programDirectory, const std::string& localAppData,
                        DataRootFiles& files = systemDataRootFiles());
// Decides once per run. `localAppData` is the user's application-data folder (empty when the
// system names none). In the profile the texts are copied from the program folder on first use,
// so the import can append to them and the corpus can open them for writing.
DataRoot chooseDataRoot(const std::string& programDirectory, const std::string& localAppData,
                        DataRootFiles& files = systemDataRootFiles());

// CP1251 Russian message for a root that cannot be written, naming its folder.
std::string unwritableDataRootText(const DataRoot& root);
// One English line for tools: which place was chosen and where it is.
std::string describeDataRoot(const DataRoot& root);

}  // namespace dactyla
