// assets/characters.h: the golfer and Grubnik as drawing functions in their 64x64 frame coordinates, so
// the title art and the maker emblem show the same characters as play (drawn scaled by the caller).
#pragma once
#include <cairo.h>

void draw_golfer(cairo_t* cr, int pose);          // poses 0..3 as in the gfx sheet
void draw_monster_body(cairo_t* cr);
void draw_monster_lower(cairo_t* cr);             // frame coordinates of its own frame (26 below the body)
void draw_monster_wing(cairo_t* cr, bool folded);
