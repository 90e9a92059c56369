// Contracts are checked in Debug and sanitizer builds only; the out-of-memory line in every build.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "runtime/contract.h"

namespace {

const std::pair<const char*, void (*)()> kCases[] = {
    {"input functions run only once the game has started", [] { zk_input_KeyDown(65); }},
    {"audio functions run only once the game has started", [] { zk_audio_StopChannel(0); }},
    {"the framework reaches the host only after start-up", [] { zk_app_Millisecs(); }},
    {"graphics functions run only after the module's start-up", [] { zk_graphics_SetColor(1, 2, 3); }},
    {"a frame begins only once the game delegate gave the module its device",
     [] { gc_init1(), zk_graphics_init(), zk_graphics_BeginRender(); }},
    {"collected objects are created with new", [] { Object on_the_stack; }},
};

TEST(Contracts, EachBrokenContractAbortsNamingWhatWasBroken) {
    if (!zk_contracts_checked) GTEST_SKIP() << "contracts are compiled out of this build type";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (auto& [broken, call] : kCases) EXPECT_DEATH(call(), std::string("Contract violated: ") + broken) << broken;
}

// AddressSanitizer's allocator refuses such a request itself and aborts before our check sees it.
TEST(Contracts, AnAllocationThatCannotBeHadEndsTheProgramNamingItsSize) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the sanitizer's allocator aborts first";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const size_t huge = SIZE_MAX / 2;
    const std::string said = "Out of memory: " + std::to_string(huge) + " bytes";
    EXPECT_EXIT(zk_malloc(huge), ::testing::ExitedWithCode(255), said);
    EXPECT_EXIT(zk_calloc(huge, 1), ::testing::ExitedWithCode(255), said);
    EXPECT_EXIT(zk_realloc(nullptr, huge), ::testing::ExitedWithCode(255), said);
}

}  // namespace
