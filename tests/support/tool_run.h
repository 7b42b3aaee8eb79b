#pragma once
// The tool run in this process over a program folder of its own, with what it prints caught.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/directory.h"
#include "support/temp_dir.h"
#include "tools/dactyla_text/commands.h"

namespace dactyla::testing {

class ToolRun : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& words) {
        out.str("");
        err.str("");
        return text_tool::runTool(words, out, err, dir.path());
    }
    // The user "Ann" of the program folder.
    std::string user() const { return platform::joinPath(dir.file("Users"), "Ann"); }
    void makeUser() const {
        platform::createDirectory(dir.file("Users"));
        platform::createDirectory(user());
    }

    TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
};

}  // namespace dactyla::testing
