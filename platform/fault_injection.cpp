#include "platform/fault_injection.h"

#include <algorithm>
#include <cassert>
#include <optional>

namespace dactyla::platform {
namespace {

struct Faults {
    bool active = false;
    std::optional<std::uint64_t> writeAllowance;
    std::optional<std::string> refusedName;
};

Faults& current() {
    static Faults faults;
    return faults;
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ScopedFileFaults::ScopedFileFaults() {
    assert(!current().active && "one fault guard at a time");
    current() = Faults {true, std::nullopt, std::nullopt};
}

ScopedFileFaults::~ScopedFileFaults() { current() = Faults {}; }

void ScopedFileFaults::failWritesAfter(std::uint64_t bytes) { current().writeAllowance = bytes; }

void ScopedFileFaults::failOpensOf(std::string name) { current().refusedName = std::move(name); }

namespace faults {

std::size_t writable(std::size_t count) {
    auto& allowance = current().writeAllowance;
    if (!allowance) return count;
    const auto granted = static_cast<std::size_t>(std::min<std::uint64_t>(count, *allowance));
    *allowance -= granted;
    return granted;
}

bool openRefused(const std::string& path) {
    const auto& name = current().refusedName;
    return name && fileNameOf(path) == *name;
}

}  // namespace faults
}  // namespace dactyla::platform
