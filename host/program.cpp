// host/program.cpp: ZKZanthGame::Main, the whole life of the program.
//
// GLFW, the one host object, signal handlers, locale, the collector's lists, the module globals (the
// game's init function), the first root marking, the application (the game's main function), then the
// host loop. The steps run in exactly this order: every later one relies on the earlier ones (the init
// function reads ZKGame::_game; the roots can only be marked once the globals exist; c_App::m_new hands
// its delegate to the host object). The host knows the game only through the two functions it is given.
#include <GLFW/glfw3.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "host/game.h"

int ZKZanthGame::Main(int /*argc*/, const char** /*argv*/, void (*init)(), int (*main)()) {
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
        init();
        gc_mark();
        main();
    } catch (ThrowableObject* ex) {
        glfwTerminate();
        game->Die(ex);
    }
    // 9.-10. The host loop, for as long as a window is open. The game ends itself through the runtime's
    // exit, so a loop that returns lost its window: one that could not be opened, at the start or when
    // the game asked for a new one. That is a failure, said as such.
    if (!game->Delegate()) {
        glfwTerminate();
        return 0;
    }
    game->Run();
    std::fprintf(stderr, "The game window could not be opened: %s\n", game->WindowError().c_str());
    std::fflush(stderr);
    glfwTerminate();
    return 1;
}
