// game/slots.h: the game's image slots, sound slots and key codes, by name.
//
// An image slot indexes m_images and m_imageInfo (three ints per slot: frame width, frame height, frame
// count); a sound slot indexes the loaded sounds and names the file sfx/NNN. The loader (resources.cpp)
// fills every slot named here. Key codes are the framework's (framework/input.h): a letter key's code is
// its upper-case character ('W'), so letters are written as characters.
#pragma once

// ---- Image slots ----
const int kGfxSlot = 1;          // "gfx": the golfer, scenery pieces, the monster's body and wings
const int kGfxbSlot = 2;         // "gfxb": the tee, balls and pegs
const int kSpecksSlot = 3;       // "tolvane": stars and water droplets, 8 x 8
const int kBadgesSlot = 80;      // "BadgesA": one frame per badge number below 64
const int kFontSlot = 90;        // "fonts/editundo": the text font
const int kCircleSlot = 91;      // "common/Testcard_Circle": the credits box's circle
const int kMakerLogoSlot = 93;   // "common/PlinLogo": the maker's logo, also the menu's credits button
const int kDpadSlot = 94;        // "common/dpad": the touch direction pad
const int kButtonsSlot = 95;     // "common/Buttons": touch buttons and the options gear's wheels
const int kPartsSlot = 96;       // "parts": the particles of awards and bursts, 8 x 8
const int kIconsSlot = 97;       // "common/icons": pause, end, play and the cursor highlight
const int kLogoSlot = 98;        // "logo": the game's title
const int kMenuSlot = 99;        // "menu": the title menu's pieces

// ---- Sound slots ----
const int kCoinSound = 1;
const int kSwingSound = 2;       // the club swinging at the ball and peg on the tee
const int kBoingSound = 3;       // a ball bouncing off a monster, pitched by its bounces
const int kKnockSound = 4;       // a peg bouncing off a monster
const int kSplashSound = 5;      // a ball in the water
const int kPegSplashSound = 6;   // a peg in the water
const int kTickSound = 7;        // each second of the game's clock
const int kMeterLowSound = 8;    // the power meter turning at its bottom
const int kMeterHighSound = 9;   // the power meter turning at its top
const int kPowerUpSound = 95;
const int kJingleSound = 96;     // the loader's first pass, and a filed score
const int kChimeSound = 98;      // the pause menu and the options button
const int kClickSound = 99;      // menu and box moves

// ---- Key codes ----
const int kKeyBackspace = 8, kKeyEnter = 13, kKeyShift = 16, kKeyCtrl = 17, kKeyEscape = 27,
          kKeySpace = 32, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyDelete = 46,
          kKeyBackquote = 192;
const int kKeyF1 = 112, kKeyF2 = 113, kKeyF4 = 115, kKeyF11 = 122;
