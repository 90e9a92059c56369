// host/main.cpp: the process entry and the start-up sequence.
//
// ZKZanthGame::Main is the whole life of the program: GLFW, the one host object, signal handlers, locale,
// the collector's lists, the module globals (zkInit), the first root marking, the application (zkMain),
// then the host loop. The steps run in exactly this order: every later one relies on the earlier ones
// (zkInit reads ZKGame::_game; the roots can only be marked once the globals exist; c_App::m_new hands
// its delegate to the host object).
#include <GLFW/glfw3.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "game/startup.h"
#include "host/game.h"

void ZKZanthGame::Main(int argc, const char** argv) {
    // 1. GLFW.
    if (!glfwInit()) {
        std::puts("glfwInit failed");
        std::fflush(stdout);
        std::exit(-1);
    }
    // 2. The host object; its constructors set ZKGame::_game and ZKGlfwGame::_glfwGame.
    ZKZanthGame* game = new ZKZanthGame();
    // 3. Fatal signals, a stack overflow among them, are reported through the runtime's error path.
    zk_catch_fatal_signals();
    // 4. Character types: UTF-8 if the system has it, else its default.
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8")) std::setlocale(LC_CTYPE, "");
    // 5. Empty collector lists, before any allocation.
    gc_init1();
    // 6.-8. Globals, roots, application; an exception escaping any of them ends the program.
    try {
        zkInit();
        gc_mark();
        zkMain();
    } catch (ThrowableObject* ex) {
        glfwTerminate();
        game->Die(ex);
    }
    // 9.-10. The host loop, for as long as a window is open.
    if (game->Delegate()) game->Run();
    glfwTerminate();
}

int main(int argc, char** argv) {
    // The runtime has no start-up hook of its own to run before Main.
    ZKZanthGame::Main(argc, const_cast<const char**>(argv));
    return 0;
}
