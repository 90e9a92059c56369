// Broken contracts of our own code stop the program with a line that names what was broken: a module
// called before start-up, a frame begun without a device, a collected object made without new. Contracts
// are checked in Debug and sanitizer builds only (the sanitizer pass of `make test` runs these); a build
// without them has nothing to show and skips.
#include <gtest/gtest.h>

#include "framework/app.h"
#include "framework/audio.h"
#include "framework/graphics.h"
#include "framework/input.h"
#include "runtime/contract.h"

namespace {

struct Case {
    const char* broken;
    void (*call)();
};

const Case kCases[] = {
    {"input functions run only once the game has started", [] { zk_input_KeyDown(65); }},
    {"audio functions run only once the game has started", [] { zk_audio_StopChannel(0); }},
    {"the framework reaches the host only after start-up", [] { zk_app_Millisecs(); }},
    {"graphics functions run only after the module's start-up", [] { zk_graphics_SetColor(1, 2, 3); }},
    {"a frame begins only once the game delegate gave the module its device",
     [] {
         gc_init1();
         zk_graphics_init();
         zk_graphics_BeginRender();
     }},
    {"collected objects are created with new", [] { Object on_the_stack; }},
};

TEST(Contracts, EachBrokenContractAbortsNamingWhatWasBroken) {
    if (!zk_contracts_checked) GTEST_SKIP() << "contracts are compiled out of this build type";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const Case& c : kCases) EXPECT_DEATH(c.call(), std::string("Contract violated: ") + c.broken) << c.broken;
}

}  // namespace
