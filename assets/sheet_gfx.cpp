// assets/sheet_gfx.cpp: "gfx", 16 frames of 64x64, four to a row.
//   0..3   the golfer, facing right: 0 address, 1 backswing (held while fire is down), 2 follow-through,
//          3 time up (arms raised). Drawn centred at (64, H-80), so the feet stand on the frame's bottom
//          edge, which is the top of the tee's patch of grass; the ball waits 30 pixels right of the frame
//          centre at frame (62, 55), and the club head of the address pose rests just behind it.
//   8..11  scenery kinds 0..3: distant hills, trees, rocks, clouds. Drawn eight times enlarged and centred
//          256 pixels above the screen's bottom, so each frame's bottom edge is the screen's bottom edge.
//          Dark, low-contrast blues a shade above the (20, 40, 80) sky, low in the frame, so they read as
//          distant land behind play; every shape tapers off before the frame's sides so scrolling pieces
//          never show a cut.
//   12     Grubnik's body, drawn centred at the monster's position; balls bounce on the top of its head.
//   13     its lower part (skirt and tentacles), drawn 26 pixels below the body and bobbing on its own.
//   14, 15 one wing, up (rising or hovering) and folded down (falling). The same frame is drawn at 17
//          pixels left and 13 right of the body, 22 above it, so the wing is symmetric about its centre.
//   4..7   unused.
#include <cairo.h>

#include <cmath>
#include <vector>

#include "canvas.h"
#include "characters.h"
#include "palette.h"
#include "sheets.h"

using namespace pal;

namespace {

// ---- the golfer ----------------------------------------------------------------------------------------

struct Pt { double x, y; };

struct Pose {
    Pt footBack, footFront;    // ankles
    Pt kneeBack, kneeFront;
    Pt hip, shoulder, head;
    Pt elbowBack, handBack;    // far arm
    Pt elbowFront, handFront;  // near arm
    Pt clubEnd;                // the club runs from handFront to clubEnd
    bool heelUp;               // back foot on its toe (follow-through)
    bool cheer;                // open smile
};

const Pose kPoses[4] = {
    // address: bent over the ball, club head behind it
    {{20, 59}, {33, 59}, {22, 50}, {33, 50}, {26, 42}, {31, 28}, {35, 19},
     {34, 35}, {38, 43}, {33, 36}, {38, 43}, {56, 58}, false, false},
    // backswing: wound up, club high behind the head
    {{20, 59}, {33, 59}, {21, 50}, {32, 50}, {26, 42}, {28, 28}, {31, 19},
     {20, 27}, {17, 19}, {22, 28}, {17, 19}, {5, 5}, false, false},
    // follow-through: turned to the target, club over the front shoulder
    {{19, 58}, {33, 59}, {23, 50}, {32, 50}, {27, 42}, {29, 28}, {33, 18},
     {37, 26}, {40, 16}, {37, 27}, {40, 16}, {20, 5}, true, false},
    // time up: both arms raised, club held high
    {{21, 59}, {32, 59}, {22, 50}, {31, 50}, {26, 42}, {26, 28}, {26, 18},
     {17, 24}, {14, 13}, {35, 24}, {38, 13}, {45, 3.5}, false, true},
};

void leg(cairo_t* cr, Pt hip, Pt knee, Pt foot, bool heelUp, uint32_t trousers) {
    limb(cr, {hip.x, hip.y, knee.x, knee.y, foot.x, foot.y}, 5.5, trousers, kInk, 1);
    // shoe pointing right
    cairo_save(cr);
    cairo_translate(cr, foot.x + 1.5, foot.y + 1.8);
    if (heelUp) cairo_rotate(cr, 0.9);
    rounded_rect(cr, -3, -1.8, 7, 3.6, 1.6);
    fill_outline(cr, kShoe, kInk, 1);
    cairo_restore(cr);
}

void arm(cairo_t* cr, Pt shoulder, Pt elbow, Pt hand, uint32_t sleeve) {
    limb(cr, {shoulder.x, shoulder.y, elbow.x, elbow.y, hand.x, hand.y}, 3.6, kSkin, kInk, 1);
    double mx = shoulder.x + (elbow.x - shoulder.x) * 0.55, my = shoulder.y + (elbow.y - shoulder.y) * 0.55;
    limb(cr, {shoulder.x, shoulder.y, mx, my}, 5, sleeve, kInk, 0);
    circle(cr, hand.x, hand.y, 2.3);
    fill_outline(cr, kSkin, kInk, 0.9);
}

void club(cairo_t* cr, Pt hand, Pt end) {
    limb(cr, {hand.x, hand.y, end.x, end.y}, 1.4, kShaft, kInk, 0.6);
    double dx = end.x - hand.x, dy = end.y - hand.y, len = std::hypot(dx, dy);
    cairo_save(cr);
    cairo_translate(cr, end.x, end.y);
    cairo_rotate(cr, std::atan2(dy, dx));
    rounded_rect(cr, -1.5, -1.6, 4.5, 3.8, 1.4);  // the head, sole toward the ball
    fill_outline(cr, kClubHead, kInk, 0.9);
    cairo_restore(cr);
    (void)len;
}

void head(cairo_t* cr, Pt h, bool cheer) {
    circle(cr, h.x, h.y, 6.4);
    fill_outline(cr, kSkin, kInk, 1.1);
    // hair at the back, cap with its brim forward
    circle(cr, h.x - 4.2, h.y + 0.5, 2.2);
    fill_outline(cr, 0x8A5A2A, kInk, 0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, h.x, h.y - 0.6, 6.6, M_PI, 2 * M_PI);
    cairo_close_path(cr);
    fill_outline(cr, kCap, kInk, 1.1);
    rounded_rect(cr, h.x + 2, h.y - 1.8, 7, 2.2, 1);
    fill_outline(cr, kCap, kInk, 1);
    circle(cr, h.x + 3.3, h.y + 1.8, 1.05);  // eye
    set_rgb(cr, kInk); cairo_fill(cr);
    circle(cr, h.x + 6.4, h.y + 3.1, 1.2);  // nose
    fill_outline(cr, kSkin, kInk, 0.6);
    cairo_set_line_width(cr, 0.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (cheer) cairo_arc(cr, h.x + 3, h.y + 3.6, 2, 0.1, M_PI * 0.9);
    else { cairo_move_to(cr, h.x + 2.6, h.y + 4.6); cairo_line_to(cr, h.x + 4.4, h.y + 4.3); }
    set_rgb(cr, kInk); cairo_stroke(cr);
}

void golfer(cairo_t* cr, const Pose& p) {
    arm(cr, p.shoulder, p.elbowBack, p.handBack, kShirtShade);
    leg(cr, p.hip, p.kneeBack, p.footBack, p.heelUp, 0xCFC6AC);
    leg(cr, p.hip, p.kneeFront, p.footFront, false, kTrousers);
    // torso: a rounded wedge from hips to shoulders
    limb(cr, {p.hip.x, p.hip.y, p.shoulder.x, p.shoulder.y}, 10, kShirt, kInk, 1.1);
    // belt: a short band across the torso just above the hips
    double tx = p.shoulder.x - p.hip.x, ty = p.shoulder.y - p.hip.y, tl = std::hypot(tx, ty);
    double bx = p.hip.x + tx / tl * 2, by = p.hip.y + ty / tl * 2, nx = -ty / tl * 4.6, ny = tx / tl * 4.6;
    limb(cr, {bx - nx, by - ny, bx + nx, by + ny}, 1.8, 0x5A3E2A, kInk, 0);
    head(cr, p.head, p.cheer);
    club(cr, p.handFront, p.clubEnd);
    arm(cr, p.shoulder, p.elbowFront, p.handFront, kShirt);
}

// ---- scenery -------------------------------------------------------------------------------------------

// Eight times enlarged, one logical pixel is eight screen pixels, so the shapes are small and low in the
// frame (the land rises at most to frame y 36, about 220 screen pixels above the bottom) and only a shade
// lighter than the sky, with a faint rim of light along their tops so overlapping pieces stay readable.
constexpr uint32_t kFarTop = 0x24426E, kFarBottom = 0x193260, kRim = 0x3E6494;

void rim_stroke(cairo_t* cr, cairo_path_t* path) {
    cairo_append_path(cr, path);
    set_rgb(cr, kRim, 0.5);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
}

void hills(cairo_t* cr) {
    auto hill = [&](double x0, double x1, double peakX, double peakY, uint32_t top) {
        cairo_move_to(cr, x0, 64);
        cairo_curve_to(cr, x0 + (peakX - x0) * 0.5, 64, peakX - (peakX - x0) * 0.45, peakY, peakX, peakY);
        cairo_curve_to(cr, peakX + (x1 - peakX) * 0.45, peakY, x1 - (x1 - peakX) * 0.5, 64, x1, 64);
        cairo_close_path(cr);
        cairo_path_t* path = cairo_copy_path(cr);
        vertical_gradient(cr, peakY, top, 1, 64, kFarBottom, 1);
        cairo_fill(cr);
        rim_stroke(cr, path);
        cairo_path_destroy(path);
    };
    hill(4, 52, 22, 38, kFarTop);
    hill(22, 62, 42, 44, 0x20406A);
}

void trees(cairo_t* cr) {
    ellipse(cr, 32, 68, 28, 12);  // the mound they stand on
    vertical_gradient(cr, 56, 0x203E68, 1, 64, kFarBottom, 1);
    cairo_fill(cr);
    struct Tree { double x, y, r; };
    const Tree ts[3] = {{20, 46, 5.5}, {32, 41, 7}, {44, 47, 5}};
    for (const Tree& t : ts) {
        cairo_rectangle(cr, t.x - 0.8, t.y, 1.6, 60 - t.y);
        set_rgb(cr, 0x162A4C); cairo_fill(cr);
    }
    for (const Tree& t : ts) {
        circle(cr, t.x, t.y, t.r);
        circle(cr, t.x - t.r * 0.55, t.y + t.r * 0.45, t.r * 0.7);
        circle(cr, t.x + t.r * 0.55, t.y + t.r * 0.45, t.r * 0.7);
        cairo_path_t* path = cairo_copy_path(cr);
        vertical_gradient(cr, t.y - t.r, 0x224C6A, 1, t.y + t.r * 1.2, 0x1A3A5C, 1);
        cairo_fill(cr);
        cairo_arc(cr, t.x, t.y, t.r - 0.3, M_PI * 1.1, M_PI * 1.75);
        set_rgb(cr, kRim, 0.5); cairo_set_line_width(cr, 0.6); cairo_stroke(cr);
        cairo_path_destroy(path);
    }
}

void rocks(cairo_t* cr) {
    const double out[][2] = {{9, 64}, {13, 54}, {18, 49}, {23, 50}, {28, 40}, {34, 37}, {39, 44},
                             {45, 47}, {50, 54}, {55, 64}};
    cairo_move_to(cr, out[0][0], out[0][1]);
    for (auto& p : out) cairo_line_to(cr, p[0], p[1]);
    cairo_close_path(cr);
    cairo_path_t* path = cairo_copy_path(cr);
    vertical_gradient(cr, 37, 0x2A3A6A, 1, 64, 0x1A2A58, 1);
    cairo_fill(cr);
    rim_stroke(cr, path);
    cairo_path_destroy(path);
    // lit faces on the left of each crag
    const double lit[][6] = {{28, 40, 34, 37, 30, 54}, {18, 49, 23, 50, 19, 60}, {39, 44, 45, 47, 40, 58}};
    for (auto& f : lit) {
        cairo_move_to(cr, f[0], f[1]); cairo_line_to(cr, f[2], f[3]); cairo_line_to(cr, f[4], f[5]);
        cairo_close_path(cr);
        set_rgb(cr, 0x3A4A80, 0.5); cairo_fill(cr);
    }
}

void clouds(cairo_t* cr) {
    auto cloud = [&](double x, double y, double s, double alpha) {
        // Soft edge: the same puffs drawn in rings of falling alpha.
        for (int ring = 3; ring >= 0; --ring) {
            double grow = ring * 0.6;
            circle(cr, x - 6 * s, y + 1.5 * s, 3.5 * s + grow);
            circle(cr, x, y - 1.5 * s, 5.5 * s + grow);
            circle(cr, x + 6 * s, y + 1 * s, 4 * s + grow);
            rounded_rect(cr, x - 10 * s - grow, y + 1 * s - grow, 20 * s + 2 * grow, 4 * s + 2 * grow, 2 * s + grow);
            set_rgb(cr, 0x2C4C80, ring ? alpha * 0.22 : alpha);
            cairo_fill(cr);
        }
    };
    cloud(28, 14, 1.0, 0.55);
    cloud(45, 24, 0.55, 0.45);
}

// ---- Grubnik -------------------------------------------------------------------------------------------

void eye(cairo_t* cr, double x, double y) {
    ellipse(cr, x, y, 5, 5.6);
    fill_outline(cr, 0xFFFFFF, kMonsterInk, 1.1);
    circle(cr, x + 0.6, y - 1.6, 2.6);  // looking up, where the balls come from
    set_rgb(cr, 0x1A1030); cairo_fill(cr);
    circle(cr, x + 1.5, y - 2.6, 0.9);
    set_rgb(cr, 0xFFFFFF); cairo_fill(cr);
}

// The body's shading, a light crown falling to kMonsterUnder at the lower edge; `dy` shifts it for the
// lower part's frame, which repeats the body's underside.
void body_shading(cairo_t* cr, double dy) {
    cairo_pattern_t* g = cairo_pattern_create_radial(27, 27 + dy, 3, 32, 34 + dy, 19);
    cairo_pattern_add_color_stop_rgb(g, 0, 0xC4 / 255.0, 0x98 / 255.0, 0xF6 / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 0.55, 0x90 / 255.0, 0x50 / 255.0, 0xD8 / 255.0);
    cairo_pattern_add_color_stop_rgb(g, 1, ((kMonsterUnder >> 16) & 255) / 255.0, ((kMonsterUnder >> 8) & 255) / 255.0,
                                     (kMonsterUnder & 255) / 255.0);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
}

void monster_body(cairo_t* cr) {
    // horns first, so the head overlaps their roots
    for (int side : {-1, 1}) {
        cairo_move_to(cr, 32 + side * 8, 20);
        cairo_curve_to(cr, 32 + side * 10, 14, 32 + side * 13, 12, 32 + side * 14, 10);
        cairo_curve_to(cr, 32 + side * 14, 15, 32 + side * 14, 18, 32 + side * 13, 22);
        cairo_close_path(cr);
        fill_outline(cr, kLeaf, kMonsterInk, 1);
    }
    ellipse(cr, 32, 34, 19.5, 17.5);
    body_shading(cr, 0);
    cairo_fill_preserve(cr);
    set_rgb(cr, kMonsterInk); cairo_set_line_width(cr, 1.3); cairo_stroke(cr);
    // green spots on the crown and the cheeks
    const double spots[][3] = {{24, 21, 2}, {40, 22, 1.6}, {17, 36, 1.8}, {47, 37, 1.5}, {33, 19, 1.2}};
    for (auto& s : spots) { circle(cr, s[0], s[1], s[2]); set_rgb(cr, kLeaf, 0.9); cairo_fill(cr); }
    ellipse(cr, 32, 41.5, 10, 5.5);  // belly, kept above the underside that the lower part repeats
    set_rgb(cr, kLeafLight, 0.85); cairo_fill(cr);
    eye(cr, 25.5, 29);
    eye(cr, 38.5, 29);
    // wide grin with one tooth
    cairo_move_to(cr, 24, 38);
    cairo_curve_to(cr, 27, 45, 37, 45, 40, 38);
    cairo_curve_to(cr, 36, 40.5, 28, 40.5, 24, 38);
    fill_outline(cr, 0x5A1838, kMonsterInk, 1);
    cairo_rectangle(cr, 29.5, 39.2, 2.6, 2.2);
    set_rgb(cr, 0xFFFFFF); cairo_fill(cr);
}

void monster_lower(cairo_t* cr) {
    // Tentacles hang from under the body into the water, each a smooth sway sampled along its length.
    const double xs[4] = {21, 28, 36, 43};
    for (int i = 0; i < 4; ++i) {
        std::vector<double> pts;
        double sway = i % 2 ? 2.2 : -2.2;
        for (int k = 0; k <= 8; ++k) {
            double y = 20 + k * 3.4;
            pts.push_back(xs[i] + sway * std::sin(k * 0.75) * (0.4 + k / 10.0));
            pts.push_back(y);
        }
        limb(cr, pts, 4.2 - (i % 2) * 0.6, kLeaf, kMonsterInk, 1);
        circle(cr, pts[16], pts[17], 1.5);
        set_rgb(cr, kLeafLight); cairo_fill(cr);
    }
    // The body's underside, in the colour of the body's lower edge, covers the tentacles' roots. It
    // repeats the body's outline below its belly, so the seam does not show as the two parts bob.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 21, 64, 43);
    cairo_clip(cr);
    ellipse(cr, 32, 8, 19.5, 17.5);
    body_shading(cr, -26);
    cairo_fill_preserve(cr);
    set_rgb(cr, kMonsterInk); cairo_set_line_width(cr, 1.3); cairo_stroke(cr);
    cairo_restore(cr);
}

// A leafy fan of three feathers, symmetric about x = 32; `down` flips it for the folded wing.
void wing(cairo_t* cr, bool down) {
    cairo_save(cr);
    if (down) {
        cairo_translate(cr, 32, 32);
        cairo_scale(cr, 0.8, -0.85);
        cairo_translate(cr, -32, -32);
    }
    const double rootX = 32, rootY = 42;
    cairo_move_to(cr, rootX, rootY);
    cairo_curve_to(cr, 24, 40, 19, 30, 21, 20);   // up the left edge to the left tip
    cairo_curve_to(cr, 24, 22, 26, 21, 27, 19);   // notch
    cairo_curve_to(cr, 28, 14, 30, 12, 32, 11);   // centre tip
    cairo_curve_to(cr, 34, 12, 36, 14, 37, 19);
    cairo_curve_to(cr, 38, 21, 40, 22, 43, 20);   // right tip
    cairo_curve_to(cr, 45, 30, 40, 40, rootX, rootY);
    cairo_close_path(cr);
    vertical_gradient(cr, 11, kLeafLight, 1, 42, kLeaf, 1);
    cairo_fill_preserve(cr);
    set_rgb(cr, kMonsterInk); cairo_set_line_width(cr, 1.1); cairo_stroke(cr);
    cairo_set_line_width(cr, 0.8);
    for (double tx : {23.0, 32.0, 41.0}) {
        cairo_move_to(cr, rootX, rootY - 2);
        cairo_line_to(cr, tx + (32 - tx) * 0.3, 22);
    }
    set_rgb(cr, kLeafShade); cairo_stroke(cr);
    cairo_restore(cr);
}

void gfx_frame(cairo_t* cr, int f) {
    if (f <= 3) golfer(cr, kPoses[f]);
    else if (f == 8) hills(cr);
    else if (f == 9) trees(cr);
    else if (f == 10) rocks(cr);
    else if (f == 11) clouds(cr);
    else if (f == 12) monster_body(cr);
    else if (f == 13) monster_lower(cr);
    else if (f == 14) wing(cr, false);
    else if (f == 15) wing(cr, true);
}

}  // namespace

void draw_golfer(cairo_t* cr, int pose) { golfer(cr, kPoses[pose]); }
void draw_monster_body(cairo_t* cr) { monster_body(cr); }
void draw_monster_lower(cairo_t* cr) { monster_lower(cr); }
void draw_monster_wing(cairo_t* cr, bool folded) { wing(cr, folded); }

void write_gfx_sheet(const std::string& dataDir) { write_sheet(dataDir, {"gfx", 64, 64, 16, 4}, gfx_frame); }
