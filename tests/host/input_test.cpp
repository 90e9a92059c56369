// Key translation over the whole table, the editing keys' characters, and the joystick readers on
// recorded button and axis arrays.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <map>

#include "host/input.h"
#include "tests/common/collector.h"

namespace {

TEST(TransKey, EveryTranslatedKeyGivesItsWindowsKeyCodeAndEveryOtherKeyNothing) {
    std::map<int, int> expected = {
        {GLFW_KEY_SPACE, 32},         {GLFW_KEY_APOSTROPHE, 222},  {'"', 222},
        {GLFW_KEY_COMMA, 188},        {GLFW_KEY_MINUS, 189},       {GLFW_KEY_PERIOD, 190},
        {GLFW_KEY_SLASH, 191},        {GLFW_KEY_SEMICOLON, 186},   {GLFW_KEY_EQUAL, 187},
        {GLFW_KEY_LEFT_BRACKET, 219}, {GLFW_KEY_BACKSLASH, 220},   {GLFW_KEY_RIGHT_BRACKET, 221},
        {GLFW_KEY_GRAVE_ACCENT, 192}, {'~', 192},                  {GLFW_KEY_ESCAPE, 27},
        {GLFW_KEY_UP, 38},            {GLFW_KEY_DOWN, 40},         {GLFW_KEY_LEFT, 37},
        {GLFW_KEY_RIGHT, 39},         {GLFW_KEY_LEFT_SHIFT, 16},   {GLFW_KEY_RIGHT_SHIFT, 16},
        {GLFW_KEY_LEFT_CONTROL, 17},  {GLFW_KEY_RIGHT_CONTROL, 17}, {GLFW_KEY_TAB, 9},
        {GLFW_KEY_ENTER, 13},         {GLFW_KEY_BACKSPACE, 8},     {GLFW_KEY_INSERT, 45},
        {GLFW_KEY_DELETE, 46},        {GLFW_KEY_PAGE_UP, 33},      {GLFW_KEY_PAGE_DOWN, 34},
        {GLFW_KEY_HOME, 36},          {GLFW_KEY_END, 35},          {GLFW_KEY_KP_DIVIDE, 111},
        {GLFW_KEY_KP_MULTIPLY, 106},  {GLFW_KEY_KP_SUBTRACT, 109}, {GLFW_KEY_KP_ADD, 107},
        {GLFW_KEY_KP_DECIMAL, 110},
    };
    for (int k = 0; k <= 9; ++k) expected[GLFW_KEY_0 + k] = 48 + k;
    for (int k = 0; k < 26; ++k) expected[GLFW_KEY_A + k] = 65 + k;
    for (int k = 0; k < 12; ++k) expected[GLFW_KEY_F1 + k] = 112 + k;
    for (int k = 0; k <= 9; ++k) expected[GLFW_KEY_KP_0 + k] = 96 + k;

    for (int key = -5; key <= GLFW_KEY_LAST + 5; ++key) {
        auto it = expected.find(key);
        EXPECT_EQ(TransKey(key), it == expected.end() ? 0 : it->second) << "GLFW key " << key;
    }
    // Named keys that stay untranslated.
    for (int key : {GLFW_KEY_LEFT_ALT, GLFW_KEY_RIGHT_ALT, GLFW_KEY_F13, GLFW_KEY_F25, GLFW_KEY_KP_ENTER,
                    GLFW_KEY_KP_EQUAL, GLFW_KEY_CAPS_LOCK, GLFW_KEY_NUM_LOCK, GLFW_KEY_SCROLL_LOCK,
                    GLFW_KEY_PAUSE, GLFW_KEY_PRINT_SCREEN, GLFW_KEY_LEFT_SUPER, GLFW_KEY_MENU,
                    GLFW_KEY_WORLD_1, GLFW_KEY_UNKNOWN, 100000})
        EXPECT_EQ(TransKey(key), 0) << "GLFW key " << key;
}

TEST(LayoutChar, APrintableKeyIsNumberedByItsUpperCaseAsciiCharacterAndNothingElse) {
    EXPECT_EQ(LayoutChar("a"), 'A');
    EXPECT_EQ(LayoutChar("z"), 'Z');
    EXPECT_EQ(LayoutChar("Q"), 'Q');
    EXPECT_EQ(LayoutChar("7"), '7');
    EXPECT_EQ(LayoutChar("'"), 39);
    EXPECT_EQ(LayoutChar("\""), 34);   // a layout with the quotation mark unshifted
    EXPECT_EQ(LayoutChar("~"), 126);
    EXPECT_EQ(LayoutChar("&"), '&');    // a key of its own: translates to nothing
    EXPECT_EQ(TransKey(LayoutChar("&")), 0);
    EXPECT_EQ(TransKey(LayoutChar("\"")), 222);
    EXPECT_EQ(LayoutChar("\xc3\xa9"), 0);   // e acute: not ASCII, the key keeps its place
    EXPECT_EQ(LayoutChar("\xd1\x84"), 0);   // a Cyrillic letter
    EXPECT_EQ(LayoutChar(""), 0);
    EXPECT_EQ(LayoutChar(nullptr), 0);
    EXPECT_EQ(LayoutChar(" "), 0);
    EXPECT_EQ(LayoutChar("ab"), 0);
    EXPECT_EQ(LayoutChar("\x7f"), 0);
}

TEST(LayoutKey, KeysOutsideThePrintableRangeKeepTheirNumber) {
    for (int key : {GLFW_KEY_SPACE, GLFW_KEY_ESCAPE, GLFW_KEY_F1, GLFW_KEY_KP_1, GLFW_KEY_KP_DIVIDE,
                    GLFW_KEY_LEFT_SHIFT, GLFW_KEY_UNKNOWN})
        EXPECT_EQ(LayoutKey(key), key) << "GLFW key " << key;
}

TEST(KeyToChar, EditingKeysTypeTheirControlCharactersAndNavigationKeysCarryBit16) {
    for (int key = -1; key < 600; ++key) {
        int want = 0;
        if (key == 8 || key == 9 || key == 13 || key == 27) want = key;
        if ((key >= 33 && key <= 40) || key == 45) want = key | 65536;
        if (key == 46) want = 127;
        EXPECT_EQ(KeyToChar(key), want) << "key " << key;
    }
}

// A joystick state as the input device holds it.
struct Pad {
    Array<float> x{2}, y{2}, z{2};
    Array<bool> buttons{32};
    Pad() { zk_test::StartCollectorOnce(); }
    std::vector<int> pressed() const {
        std::vector<int> out;
        for (int i = 0; i < 32; ++i)
            if (buttons[i]) out.push_back(i);
        return out;
    }
};

std::vector<unsigned char> only(int n, std::initializer_list<int> down) {
    std::vector<unsigned char> b(n, GLFW_RELEASE);
    for (int i : down) b[i] = GLFW_PRESS;
    return b;
}

TEST(RawJoystick, SixteenButtonsPutTheLastFourInEightToElevenAndShiftEightToElevenUp) {
    for (int i = 0; i < 16; ++i) {
        Pad pad;
        std::vector<unsigned char> b = only(16, {i});
        FillRawJoystick(nullptr, 0, b.data(), 16, pad.x, pad.y, pad.z, pad.buttons);
        int slot = i < 8 ? i : i < 12 ? i + 4 : i - 4;
        EXPECT_EQ(pad.pressed(), std::vector<int>{slot}) << "physical button " << i;
    }
}

TEST(RawJoystick, UpToTwelveButtonsAreReadInPlaceAndHigherSlotsKeepTheirValues) {
    Pad pad;
    pad.buttons[20] = true;
    std::vector<unsigned char> b = only(12, {0, 11});
    FillRawJoystick(nullptr, 0, b.data(), 12, pad.x, pad.y, pad.z, pad.buttons);
    EXPECT_EQ(pad.pressed(), (std::vector<int>{0, 11, 20}));
}

TEST(RawJoystick, AxesGiveBothSticksWithUpPositiveAndMissingAxesReadZero) {
    Pad pad;
    float axes[3] = {0.5f, 0.25f, -1.0f};   // raw: y points down
    FillRawJoystick(axes, 3, nullptr, 0, pad.x, pad.y, pad.z, pad.buttons);
    EXPECT_FLOAT_EQ(pad.x[0], 0.5f);
    EXPECT_FLOAT_EQ(pad.y[0], -0.25f);
    EXPECT_FLOAT_EQ(pad.z[0], -1.0f);
    EXPECT_FLOAT_EQ(pad.x[1], 0.0f);
    EXPECT_FLOAT_EQ(pad.y[1], 0.0f);
    EXPECT_FLOAT_EQ(pad.z[1], 0.0f);
}

TEST(RawJoystick, FourteenButtonPadsWithFiveAxesReadTheirSecondStickFromAxesFourAndThree) {
    float axes[6] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    std::vector<unsigned char> b = only(14, {13});
    Pad fixed;
    FillRawJoystick(axes, 5, b.data(), 14, fixed.x, fixed.y, fixed.z, fixed.buttons);
    EXPECT_FLOAT_EQ(fixed.x[1], 0.5f);    // axis 4
    EXPECT_FLOAT_EQ(fixed.y[1], 0.4f);    // axis 3, turned twice: up positive
    EXPECT_EQ(fixed.pressed(), std::vector<int>{11});   // the last button lands in slot 11
    Pad plain;   // the same pad with six axes is read as it is
    FillRawJoystick(axes, 6, b.data(), 14, plain.x, plain.y, plain.z, plain.buttons);
    EXPECT_FLOAT_EQ(plain.x[1], -0.4f);
    EXPECT_FLOAT_EQ(plain.y[1], 0.5f);
    EXPECT_FLOAT_EQ(plain.z[1], -0.6f);
}

TEST(RawJoystick, EighteenButtonPadsWithFourAxesReadTheSecondStickYFromAxisTwo) {
    float axes[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    std::vector<unsigned char> b = only(18, {8, 17});
    Pad pad;
    FillRawJoystick(axes, 4, b.data(), 18, pad.x, pad.y, pad.z, pad.buttons);
    EXPECT_FLOAT_EQ(pad.x[1], -0.4f);   // stays axis 3
    EXPECT_FLOAT_EQ(pad.y[1], -0.3f);   // minus axis 2
    EXPECT_EQ(pad.pressed(), (std::vector<int>{11, 12}));
}

TEST(RawJoystick, MoreThanThirtyTwoButtonsAreCutAndNothingIsWrittenOutOfBounds) {
    Pad pad;
    std::vector<unsigned char> b = only(40, {35, 39});
    float axes[9] = {};
    FillRawJoystick(axes, 9, b.data(), 40, pad.x, pad.y, pad.z, pad.buttons);
    EXPECT_EQ(pad.pressed(), std::vector<int>{});   // only the first 32 buttons are read
}

TEST(RawJoystick, AHatReportedUpRightDownLeftReachesTheGameAsLeftUpRightDown) {
    const char* const names[] = {"up", "right", "down", "left"};
    const int slot[] = {9, 10, 11, 8};   // the game's up, right, down, left
    for (int d = 0; d < 4; ++d) {
        std::vector<unsigned char> b = only(14, {10 + d});   // ten buttons, then the hat
        HatButtonsToGameOrder(b.data(), 14);
        Pad pad;
        FillRawJoystick(nullptr, 0, b.data(), 14, pad.x, pad.y, pad.z, pad.buttons);
        EXPECT_EQ(pad.pressed(), std::vector<int>{slot[d]}) << names[d];
    }
    std::vector<unsigned char> few = only(3, {0});
    HatButtonsToGameOrder(few.data(), 3);   // too few buttons for a hat: unchanged
    EXPECT_EQ(few, only(3, {0}));
}

TEST(GamepadJoystick, MappedPadsUseTheGamesButtonLayoutAndSticksWithUpPositive) {
    GLFWgamepadstate state = {};
    struct { int glfw, slot; } layout[] = {
        {GLFW_GAMEPAD_BUTTON_A, 0},          {GLFW_GAMEPAD_BUTTON_B, 1},
        {GLFW_GAMEPAD_BUTTON_X, 2},          {GLFW_GAMEPAD_BUTTON_Y, 3},
        {GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, 4}, {GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER, 5},
        {GLFW_GAMEPAD_BUTTON_BACK, 6},       {GLFW_GAMEPAD_BUTTON_START, 7},
        {GLFW_GAMEPAD_BUTTON_DPAD_LEFT, 8},  {GLFW_GAMEPAD_BUTTON_DPAD_UP, 9},
        {GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, 10}, {GLFW_GAMEPAD_BUTTON_DPAD_DOWN, 11},
        {GLFW_GAMEPAD_BUTTON_GUIDE, 14},
    };
    for (auto m : layout) {
        Pad pad;
        state = {};
        state.buttons[m.glfw] = GLFW_PRESS;
        FillGamepadJoystick(state, pad.x, pad.y, pad.z, pad.buttons);
        EXPECT_EQ(pad.pressed(), std::vector<int>{m.slot}) << "gamepad button " << m.glfw;
    }
    Pad pad;
    state = {};
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = 0.5f;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = -1.0f;   // pushed up
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_X] = -0.25f;
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y] = 0.75f;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = -1.0f;   // released
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = 1.0f;   // pulled
    FillGamepadJoystick(state, pad.x, pad.y, pad.z, pad.buttons);
    EXPECT_FLOAT_EQ(pad.x[0], 0.5f);
    EXPECT_FLOAT_EQ(pad.y[0], 1.0f);
    EXPECT_FLOAT_EQ(pad.x[1], -0.25f);
    EXPECT_FLOAT_EQ(pad.y[1], -0.75f);
    EXPECT_FLOAT_EQ(pad.z[0], 0.0f);
    EXPECT_FLOAT_EQ(pad.z[1], 1.0f);
}

}  // namespace
