// Key and character translation, and the joystick readers on recorded button and axis arrays.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include <vector>

#include "host/input.h"
#include "tests/common/collector.h"

TEST(KeyTranslation, KeysGiveTheirWindowsKeyCodesCharactersAndLayoutNumbers) {
    // GLFW key (or layout character), Windows key code.
    // clang-format off
    const int keys[][2] = {
        {GLFW_KEY_0, 48}, {GLFW_KEY_9, 57}, {GLFW_KEY_A, 65}, {GLFW_KEY_Z, 90}, {GLFW_KEY_F1, 112},
        {GLFW_KEY_F12, 123}, {GLFW_KEY_KP_0, 96}, {GLFW_KEY_KP_9, 105}, {GLFW_KEY_SPACE, 32},
        {GLFW_KEY_APOSTROPHE, 222}, {'"', 222}, {GLFW_KEY_COMMA, 188}, {GLFW_KEY_MINUS, 189},
        {GLFW_KEY_PERIOD, 190}, {GLFW_KEY_SLASH, 191}, {GLFW_KEY_SEMICOLON, 186}, {GLFW_KEY_EQUAL, 187},
        {GLFW_KEY_LEFT_BRACKET, 219}, {GLFW_KEY_BACKSLASH, 220}, {GLFW_KEY_RIGHT_BRACKET, 221},
        {GLFW_KEY_GRAVE_ACCENT, 192}, {'~', 192}, {GLFW_KEY_ESCAPE, 27}, {GLFW_KEY_UP, 38}, {GLFW_KEY_DOWN, 40},
        {GLFW_KEY_LEFT, 37}, {GLFW_KEY_RIGHT, 39}, {GLFW_KEY_LEFT_SHIFT, 16}, {GLFW_KEY_RIGHT_SHIFT, 16},
        {GLFW_KEY_LEFT_CONTROL, 17}, {GLFW_KEY_RIGHT_CONTROL, 17}, {GLFW_KEY_TAB, 9}, {GLFW_KEY_ENTER, 13},
        {GLFW_KEY_BACKSPACE, 8}, {GLFW_KEY_INSERT, 45}, {GLFW_KEY_DELETE, 46}, {GLFW_KEY_PAGE_UP, 33},
        {GLFW_KEY_PAGE_DOWN, 34}, {GLFW_KEY_HOME, 36}, {GLFW_KEY_END, 35}, {GLFW_KEY_KP_DIVIDE, 111},
        {GLFW_KEY_KP_MULTIPLY, 106}, {GLFW_KEY_KP_SUBTRACT, 109}, {GLFW_KEY_KP_ADD, 107},
        {GLFW_KEY_KP_DECIMAL, 110}, {GLFW_KEY_LEFT_ALT, 0}, {GLFW_KEY_F13, 0}, {GLFW_KEY_KP_ENTER, 0},
        {GLFW_KEY_KP_EQUAL, 0}, {GLFW_KEY_CAPS_LOCK, 0}, {GLFW_KEY_MENU, 0}, {GLFW_KEY_WORLD_1, 0},
        {GLFW_KEY_UNKNOWN, 0}, {'&', 0}, {':', 0}, {'@', 0}, {GLFW_KEY_F1 - 1, 0}, {GLFW_KEY_KP_0 - 1, 0},
        {100000, 0}};
    // Key code, the character it types.
    const int chars[][2] = {{8, 8}, {9, 9}, {13, 13}, {27, 27}, {32, 0}, {33, 65569}, {40, 65576}, {41, 0},
                            {45, 65581}, {46, 127}, {65, 0}, {112, 0}};
    const std::pair<const char*, int> names[] = {{"a", 'A'}, {"z", 'Z'}, {"Q", 'Q'}, {"7", '7'}, {"!", '!'},
        {"~", '~'}, {"\xc3\xa9", 0}, {"", 0}, {nullptr, 0}, {" ", 0}, {"ab", 0}, {"\x7f", 0}};
    // clang-format on
    for (auto& k : keys) EXPECT_EQ(TransKey(k[0]), k[1]) << "GLFW key " << k[0];
    for (auto& c : chars) EXPECT_EQ(KeyToChar(c[0]), c[1]) << "key " << c[0];
    for (auto& n : names) EXPECT_EQ(LayoutChar(n.first), n.second) << (n.first ? n.first : "null");
    for (int key : {GLFW_KEY_SPACE, GLFW_KEY_ESCAPE, GLFW_KEY_KP_1, GLFW_KEY_UNKNOWN})
        EXPECT_EQ(LayoutKey(key), key);
}

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
    std::vector<float> sticks() const { return {x[0], y[0], z[0], x[1], y[1], z[1]}; }
};

TEST(Joystick, RawLayoutsPutButtonsAndSticksWhereTheGameReadsThem) {
    struct Case { int buttons, axes; std::vector<int> down, slots; std::vector<float> sticks; bool hat; };
    const Case cases[] = {
        {16, 0, {8, 13}, {9, 12}, {0, 0, 0, 0, 0, 0}, false},   // hat to 8..11, 8.. up
        {12, 3, {0, 11}, {0, 11, 31}, {0.1f, -0.2f, 0.3f, 0, 0, 0}, false},   // in place; y points up
        {13, 0, {8, 12}, {11, 12}, {0, 0, 0, 0, 0, 0}, false},   // 13: the hat moves too
        {14, 5, {13}, {11}, {0.1f, -0.2f, 0.3f, 0.5f, 0.4f, 0}, false},   // second stick from axes 4 and 3
        {14, 6, {}, {}, {0.1f, -0.2f, 0.3f, -0.4f, 0.5f, -0.6f}, false},
        {18, 4, {8, 17}, {11, 12}, {0.1f, -0.2f, 0.3f, -0.4f, -0.3f, 0}, false},   // second y from axis 2
        {40, 6, {35, 39}, {}, {0.1f, -0.2f, 0.3f, -0.4f, 0.5f, -0.6f}, false},   // only 32 buttons are read
        {14, 0, {11, 13}, {8, 10}, {0, 0, 0, 0, 0, 0}, true},   // hat right and left
        {3, 0, {0}, {0, 31}, {0, 0, 0, 0, 0, 0}, true},   // too few buttons for a hat
    };
    const float axes[] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    for (const Case& c : cases) {
        Pad pad;
        pad.buttons[31] = c.buttons <= 12;   // beyond the pad's buttons: kept (a slot seen at 31)
        std::vector<unsigned char> b(c.buttons, GLFW_RELEASE);
        for (int i : c.down) b[i] = GLFW_PRESS;
        if (c.hat) HatButtonsToGameOrder(b.data(), c.buttons);
        FillRawJoystick(c.axes ? axes : nullptr, c.axes, b.data(), c.buttons, pad.x, pad.y, pad.z, pad.buttons);
        SCOPED_TRACE(testing::Message() << c.buttons << " buttons, " << c.axes << " axes");
        EXPECT_EQ(pad.pressed(), c.slots);
        EXPECT_EQ(pad.sticks(), c.sticks);
    }
}

TEST(Joystick, MappedPadsUseTheGamesButtonLayoutAndSticksWithUpPositive) {
    // GLFW's button for each slot: A B X Y, bumpers, back, start, pad left up right down, thumbs, guide.
    const int slots[] = {0, 1, 2, 3, 4, 5, 6, 7, 14, 11, 12, 13, 9, 10, 8};
    for (int slot = 0; slot < 15; ++slot) {
        GLFWgamepadstate state = {};
        state.buttons[slots[slot]] = GLFW_PRESS;
        Pad pad;
        FillGamepadJoystick(state, pad.x, pad.y, pad.z, pad.buttons);
        EXPECT_EQ(pad.pressed(), std::vector<int>{slot}) << "gamepad button " << slots[slot];
    }
    GLFWgamepadstate state = {{}, {0.5f, -1.0f, -0.25f, 0.75f, -1.0f, 1.0f}};   // left up, triggers out and in
    Pad pad;
    FillGamepadJoystick(state, pad.x, pad.y, pad.z, pad.buttons);
    EXPECT_EQ(pad.sticks(), (std::vector<float>{0.5f, 1.0f, 0, -0.25f, -0.75f, 1.0f}));
}

// The browser's standard layout; its triggers (6 and 7) are the sticks' z.
TEST(Joystick, StandardLayoutPadsUseTheGamesButtonLayout) {
    const int slots[17] = {0, 1, 2, 3, 4, 5, -1, -1, 6, 7, 12, 13, 9, 11, 8, 10, 14};
    const float axes[] = {0.5f, 0.25f, -1, -0.75f};
    for (int standard = 0; standard < 17; ++standard) {
        std::vector<unsigned char> b(17, GLFW_RELEASE);
        b[standard] = GLFW_PRESS;
        Pad pad;
        FillStandardJoystick(axes, 4, b.data(), 17, pad.x, pad.y, pad.z, pad.buttons);
        const float left = standard == 6, right = standard == 7;
        EXPECT_EQ(pad.pressed(), slots[standard] < 0 ? std::vector<int>{} : std::vector<int>{slots[standard]})
            << "standard button " << standard;
        EXPECT_EQ(pad.sticks(), (std::vector<float>{0.5f, -0.25f, left, -1, 0.75f, right})) << standard;
    }
    const unsigned char pressed[2] = {GLFW_PRESS, GLFW_PRESS};
    Pad pad;
    FillStandardJoystick(axes, 1, pressed, 2, pad.x, pad.y, pad.z, pad.buttons);
    EXPECT_EQ(pad.pressed(), (std::vector<int>{0, 1}));
    EXPECT_EQ(pad.sticks(), (std::vector<float>{0.5f, 0, 0, 0, 0, 0}));
}
