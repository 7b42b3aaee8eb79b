#include "base/random.h"

namespace dactyla {
namespace {

std::uint32_t state = 1;  // the value before any seeding

}  // namespace

void seedRandom(std::uint32_t seed) { state = seed; }

int nextRandom() {
    state = nextRandomState(state);
    return randomOfState(state);
}

RandomRun::RandomRun() : state_(state) {}

RandomRun::~RandomRun() { state = state_; }

}  // namespace dactyla
