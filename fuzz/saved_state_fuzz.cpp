// The saved-state reader: whatever the state file holds, the state p_Load leaves saves to a text whose
// every checksum holds, and loading that text again leaves the state as it was.
#include <string>

#include "framework/app.h"
#include "fuzz/fuzz.h"
#include "game/myapp.h"
#include "harness/saved_state.h"

namespace {

// The host, its state file served from the fuzz input; the last saved text is kept.
struct StateHost : ZKGame {
    std::string file;
    std::string saved;
    FILE* OpenFile(String, String) override {
        return open_bytes(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    }
    int SaveState(String state) override {
        saved = state.ToUtf8();
        return 0;
    }
};

StateHost* host;
c_MyApp* app;

// The state file holds `file`; returns the text the state saves to after loading it.
std::string load_and_save(const std::string& file) {
    host->file = file;
    app->p_Load();
    app->p_Save();
    return host->saved;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready =
        (gc_init1(), host = new StateHost, zk_app_init(), app = new c_MyApp, gc_root(app), gc_mark(), true);
    (void)ready;
    // Values of an earlier game, the same before every input; tables 3 to 7 are saved but never read.
    for (int i = 0; i < 25; ++i) app->m_options[i] = 100 * i - 1000;
    for (int i = 0; i < 256; ++i) app->m_badges[i] = i % 3 == 0;
    for (int i = 0; i < 150; ++i) app->m_highscores[i] = 7919 * i - 500000;
    const std::string saved = load_and_save(std::string(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(saved_state::ChecksumsHold(saved));
    FUZZ_CHECK(load_and_save(saved) == saved);
    gc_collect_all();   // the texts and lists of this input become garbage
    return 0;
}
