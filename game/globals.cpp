// game/globals.cpp: the game module's globals and the credit lines.
#include "game/myapp.h"

float zk_Dravo_jscrw = 800, zk_Dravo_jscrh = 600;
float zk_Dravo_rawscrw = 800, zk_Dravo_rawscrh = 600;
float zk_Dravo_overscan = 0;
int zk_Dravo_DebugMode = 0;
int zk_Dravo_iCadeControls = 0;
int zk_Dravo_HasMusicStream = 1;
Array<String> zk_Dravo_CreditText;

namespace {

// The credits box scrolls these in order. The name lines credit this project and the libraries it is
// built on.
const char* const kCreditLines[] = {
    "A Game by",          "Tolvane Golf",        "developers",          "-=-=-",
    "Developed using",    "C++, GLFW,",          "OpenGL and OpenAL",   "-=-=-",
    "Graphics",           "Most graphics by",    "code, with cairo",    "Font : EditUndo",
    "redrawn in code",    "Lowercase added by",  "Tolvane Golf",        "-=-=-",
    "Audio",              "Sound and Music by",  "our own synth",       "using FLStudio,",
    "KORG Gadget,",       "SFXr,",               "Cool Edit",           "or whatever else",
    "is handy!",          "-=-=-",               "Thanks to",           "GLFW",
    "OpenAL Soft",        "stb",                 "cairo",               "libvorbis",
    "and everyone else",  "who plays",           "-=-=-",               "End",
};

}  // namespace

void zk_Dravo_init() {
    zk_Dravo_jscrw = 800;
    zk_Dravo_jscrh = 600;
    zk_Dravo_rawscrw = 800;
    zk_Dravo_rawscrh = 600;
    zk_Dravo_overscan = 0;
    zk_Dravo_DebugMode = 0;
    zk_Dravo_iCadeControls = 0;
    zk_Dravo_HasMusicStream = 1;
    const int count = sizeof kCreditLines / sizeof kCreditLines[0];
    static_assert(sizeof kCreditLines / sizeof kCreditLines[0] == 36, "the credits box shows 36 lines");
    static bool rooted = false;
    if (!rooted) gc_root(zk_Dravo_CreditText), rooted = true;
    gc_assign(zk_Dravo_CreditText, Array<String>(count));
    for (int i = 0; i < count; ++i) zk_Dravo_CreditText[i] = String(kCreditLines[i]);
}
