// The end-to-end driver's entry point. "--idle" makes it a bare Wine process that ends at once:
// the start-up benchmark measures what Wine itself costs with it.
#include <gtest/gtest.h>

#include <cstring>

#include "driver/host.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--idle") == 0) return 0;
    for (const char* name : {"DACTYLA_E2E_PROGRAM", "DACTYLA_E2E_WORK", "DACTYLA_E2E_ARTIFACTS", "DACTYLA_WINE"}) {
        if (dactyla::e2e::setting(name).empty()) {
            std::fprintf(stderr, "%s is not set: run the end-to-end tests through scripts/e2e.sh\n", name);
            return 2;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
