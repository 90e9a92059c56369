// assets/palette.h: the colours shared across sheets, so the golfer, the monster and the menus agree.
#pragma once
#include <cstdint>

namespace pal {
constexpr uint32_t kInk = 0x1E1A3C;        // outlines of characters and props
constexpr uint32_t kSkin = 0xFFCFA0;
constexpr uint32_t kShirt = 0xF05A46;      // the golfer's red polo
constexpr uint32_t kShirtShade = 0xC23E34;
constexpr uint32_t kTrousers = 0xECE4CC;   // cream slacks
constexpr uint32_t kCap = 0xFFD23C;        // yellow cap
constexpr uint32_t kShoe = 0xFFFFFF;
constexpr uint32_t kShaft = 0xC8CCD8;
constexpr uint32_t kClubHead = 0x8C90A0;
constexpr uint32_t kMonster = 0x9050D8;    // Grubnik's purple
constexpr uint32_t kMonsterShade = 0x6A36A8;
constexpr uint32_t kMonsterLight = 0xB888F0;
constexpr uint32_t kMonsterUnder = 0x6230A0;  // the body's lower edge, shared by body and lower part
constexpr uint32_t kMonsterInk = 0x2A1450;
constexpr uint32_t kLeaf = 0x7CDC64;       // Grubnik's green: belly, spots, wings, tentacles
constexpr uint32_t kLeafShade = 0x46A04A;
constexpr uint32_t kLeafLight = 0xC0F8A0;
constexpr uint32_t kWater = 0x2878C8;
constexpr uint32_t kWaterLight = 0x78C8F8;
constexpr uint32_t kGrass = 0x22B422;
constexpr uint32_t kGold = 0xFFC83C;
constexpr uint32_t kGoldShade = 0xC88C1E;
}  // namespace pal
