#pragma once
// The one way the program rewrites a file of its own: written in full beside its place under
// "<path>.new", flushed, then put in its place, so a crash, a full disk or a locked file half-way
// leaves what stood at `path` as it was. A damaged file is set aside, never overwritten.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace dactyla {

bool writeWholeFileReplacing(const std::string& path, std::string_view bytes);

// Copies `source` to `target` the same way, through "<target>.part", so an interrupted copy is
// never taken for the file.
bool copyWholeFile(const std::string& source, const std::string& target);

// Hands the next `size` bytes of `from` to `put` in blocks, never holding the whole file; false
// when a read comes short or `put` refuses a block.
bool copyInBlocks(platform::File& from, std::uint64_t size, const std::function<bool(std::string_view)>& put);

// The first free name of "<path>.damaged", "<path>.damaged2" ... "<path>.damaged99"; empty when
// every one is taken.
std::string setAsideName(const std::string& path);
// Moves `path` to its set-aside name; false when no name is free or the move fails.
bool setFileAside(const std::string& path);

}  // namespace dactyla
