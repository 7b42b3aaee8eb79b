#include "base/record_shuffle.h"

#include <utility>
#include <vector>

#include "base/random.h"
#include "platform/system.h"

namespace dactyla {
namespace {

std::vector<std::uint32_t> pack(const std::uint8_t* records, std::size_t count, unsigned size) {
    std::vector<std::uint32_t> packed(count);
    for (std::size_t k = 0; k < count; ++k) {
        std::uint32_t value = 0;
        for (unsigned j = 0; j < size; ++j) value |= std::uint32_t {records[k * size + j]} << (8 * j);
        packed[k] = value;
    }
    return packed;
}

void unpack(const std::vector<std::uint32_t>& packed, std::uint8_t* records, unsigned size) {
    for (std::size_t k = 0; k < packed.size(); ++k)
        for (unsigned j = 0; j < size; ++j) records[k * size + j] = static_cast<std::uint8_t>(packed[k] >> (8 * j));
}

// Every element but the first trades places with one drawn from before it. Past 32767 the
// range is widened with ones, not with further draws; the widening is worked out once for
// each run of places rather than for every place.
void firstPass(std::uint32_t* a, std::size_t n, RandomRun& random) {
    std::uint32_t widened = 0x7FFFu;  // the largest draw once widened
    unsigned shift = 0;
    std::uint32_t ones = 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto place = static_cast<std::uint32_t>(k);
        while (widened < place && widened != 0xFFFFFFFFu) {
            widened = (widened << 15) | 0x7FFFu;
            ones = (ones << 15) | 0x7FFFu;
            shift += 15;
        }
        const std::uint32_t draw = static_cast<std::uint32_t>(random.next()) & 0x7FFFu;
        const std::uint32_t r = (draw << shift) | ones;
        std::swap(a[k], a[r % place]);
    }
}

void secondPass(std::uint32_t* a, std::size_t n, RandomRun& random) {
    for (std::size_t i = 0; n - i > 1; ++i) {
        const std::size_t j = n - i;
        const int r = random.next();
        auto t = static_cast<std::int64_t>((static_cast<double>(r - 1) * (1.0 / 32767.0)) * static_cast<double>(j));
        // A draw of 0 gives a negative step once more than 32766 records remain; it stays put
        // instead of reaching before the records still to place.
        if (t < 0) t = 0;
        std::swap(a[i], a[i + static_cast<std::size_t>(t)]);
    }
}

void shuffleSeeded(std::uint32_t* values, std::size_t count) {
    RandomRun random;
    firstPass(values, count, random);
    secondPass(values, count, random);
}

}  // namespace

void recordShuffleAt(std::uint32_t tick, std::uint8_t* records, std::int32_t recordCount, unsigned recordSize) {
    seedRandom(tick | 0x08050201u);
    const unsigned size = recordSize & 0xFFu;
    if (recordCount < 2 || size < 1 || size > 4 || records == nullptr) return;
    auto packed = pack(records, static_cast<std::size_t>(recordCount), size);
    shuffleSeeded(packed.data(), packed.size());
    unpack(packed, records, size);
}

void recordShuffle(std::uint8_t* records, std::int32_t recordCount, unsigned recordSize) {
    recordShuffleAt(platform::tickCount(), records, recordCount, recordSize);
}

void valueShuffleAt(std::uint32_t tick, std::uint32_t* values, std::size_t count) {
    seedRandom(tick | 0x08050201u);
    if (count < 2 || values == nullptr) return;
    shuffleSeeded(values, count);
}

void valueShuffle(std::uint32_t* values, std::size_t count) { valueShuffleAt(platform::tickCount(), values, count); }

}  // namespace dactyla
