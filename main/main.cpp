// main/main.cpp: the program's entry: the host's start-up sequence run with the game's own start-up
// functions. The only file that sees both the host and the game.
#include "game/startup.h"
#include "host/game.h"

int main(int argc, char** argv) {
    return ZKZanthGame::Main(argc, const_cast<const char**>(argv), zkInit, zkMain);
}
