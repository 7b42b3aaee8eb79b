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
    std::array<int, kFileCalls.size()> calls {};
    std::array<int, kFileCalls.size()> failingCall {};  // 0: none fails
};

Faults& current() {
    static Faults faults;
    return faults;
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::size_t indexOf(FileCall call) { return static_cast<std::size_t>(call); }

// Counts the call and tells whether it is the one chosen to fail.
bool countedCallFails(FileCall call) {
    Faults& faults = current();
    if (!faults.active) return false;
    const int made = ++faults.calls[indexOf(call)];
    return made == faults.failingCall[indexOf(call)];
}

}  // namespace

ScopedFileFaults::ScopedFileFaults() {
    assert(!current().active && "one fault guard at a time");
    current() = Faults {};
    current().active = true;
}

ScopedFileFaults::~ScopedFileFaults() { current() = Faults {}; }

void ScopedFileFaults::failWritesAfter(std::uint64_t bytes) { current().writeAllowance = bytes; }

void ScopedFileFaults::failOpensOf(std::string name) { current().refusedName = std::move(name); }

void ScopedFileFaults::failCall(FileCall call, int nth) { current().failingCall[indexOf(call)] = nth; }

int ScopedFileFaults::callsMade(FileCall call) const { return current().calls[indexOf(call)]; }

namespace faults {

std::size_t writable(std::size_t count) {
    if (countedCallFails(FileCall::write)) return 0;
    auto& allowance = current().writeAllowance;
    if (!allowance) return count;
    const auto granted = static_cast<std::size_t>(std::min<std::uint64_t>(count, *allowance));
    *allowance -= granted;
    return granted;
}

bool openRefused(const std::string& path) {
    if (countedCallFails(FileCall::open)) return true;
    const auto& name = current().refusedName;
    return name && fileNameOf(path) == *name;
}

bool flushRefused() { return countedCallFails(FileCall::flush); }

bool replaceRefused() { return countedCallFails(FileCall::replace); }

}  // namespace faults
}  // namespace dactyla::platform
