// assets/sheets.h: one writer per image sheet of the data folder. Each writes its sheet in the three art
// resolutions under dataDir and adds the plain one to the contact sheet. Frame sizes, counts and what each
// frame shows follow how the game draws it; each writer's file says how.
#pragma once
#include <string>

void write_font_sheets(const std::string& dataDir);      // fonts/editundo (+ zeto_font.png)
void write_gfx_sheet(const std::string& dataDir);        // gfx: golfer, scenery, monster
void write_gfxb_sheet(const std::string& dataDir);       // gfxb: tee marker, peg, ball
void write_particle_sheets(const std::string& dataDir);  // tolvane and parts: 8x8 droplets and sparkles
void write_ui_sheets(const std::string& dataDir);        // common/Buttons, common/icons, common/dpad
void write_title_sheets(const std::string& dataDir);     // logo, menu, common/PlinLogo, common/Testcard_Circle
void write_badge_sheet(const std::string& dataDir);      // BadgesA
void write_icons(const std::string& iconDir);              // the desktop icon, ICON_DIR/NxN.png
