// The about box's own words after the release date: the version, and where the data lives.
#include <gtest/gtest.h>

#include <string>

#include "dactyla_version.h"
#include "dialogs/about_dialog.h"

namespace dactyla::dialogs {
namespace {

TEST(AboutRelease, NamesTheVersionAndTheProfileOnlyWhenTheDataIsThere) {
    // ", версия "
    const std::string version = std::string(", \xE2\xE5\xF0\xF1\xE8\xFF ") + kVersion;
    EXPECT_EQ(aboutReleaseText(DataPlace::programFolder), version);
    // ", данные в профиле"
    EXPECT_EQ(aboutReleaseText(DataPlace::userProfile),
              version + ", \xE4\xE0\xED\xED\xFB\xE5 \xE2 \xEF\xF0\xEE\xF4\xE8\xEB\xE5");
}

}  // namespace
}  // namespace dactyla::dialogs
