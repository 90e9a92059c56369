#include "audio.h"
void write_sound_effects(const std::string&) {}
