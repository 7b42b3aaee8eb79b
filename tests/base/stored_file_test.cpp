#include "base/stored_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/decimal.h"
#include "platform/fault_injection.h"
#include "support/temp_dir.h"

namespace dactyla {
namespace {

using testing::TempDir;

std::optional<std::uint32_t> decodeNumberLine(std::string_view bytes) {
    if (!bytes.ends_with("\r\n")) return std::nullopt;
    return parseDecimal(bytes.substr(0, bytes.size() - 2));
}

TEST(StoredFile, EachWayAFileCanStandIsToldApartAndOnlyAValidOneGivesItsValue) {
    const struct {
        const char* name;
        std::optional<std::string> bytes;  // nothing: no file
        bool held;
        StoredFileState state;
        std::uint32_t value;
    } cases[] = {
        {"missing", std::nullopt, false, StoredFileState::missing, 0},
        {"valid", "42\r\n", false, StoredFileState::valid, 42},
        {"empty", "", false, StoredFileState::damaged, 0},
        {"foreign", "forty-two\r\n", false, StoredFileState::damaged, 0},
        {"cut", "42", false, StoredFileState::damaged, 0},
        {"held by another program", "42\r\n", true, StoredFileState::unreadable, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempDir dir;
        if (c.bytes) dir.write("Number.txt", *c.bytes);
        platform::ScopedFileFaults faults;
        if (c.held) faults.failOpensOf("Number.txt");
        const auto stored = readStoredFile(dir.file("Number.txt"), decodeNumberLine);
        EXPECT_EQ(stored.state, c.state);
        EXPECT_EQ(stored.value, c.value);
    }
}

}  // namespace
}  // namespace dactyla
