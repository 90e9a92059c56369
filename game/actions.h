// game/actions.h: the control actions the game asks about, the virtual key entries, and the named lists
// of actions its screens react to, each defined once.
//
// The game never asks for a key code: it asks p_PlayKey whether an action is down for a player, and the
// action's row (controls.cpp) names its keys, pad buttons, stick direction and virtual keys. Any other
// number is no action and is never down.
//
// m_vkeys holds virtual keys, set by the iCade reader (2: until released) and the menus (1: one frame).
// Entries 0..18 are indexed by number: an action's own entry has the action's number, and entries 16 and
// 17, the iCade buttons O and L, are no action of their own: they count toward kActionBack. Entry 19
// holds the back key's hits in this frame.
#pragma once

#include <initializer_list>

enum Action : int {
    kActionUp = 0,
    kActionLeft = 3,
    kActionRight = 5,
    kActionDown = 8,
    kActionFire = 10,            // the first fire button: Z, J, space, enter, pad A
    kActionFire2 = 11,           // X, K, control, pad B
    kActionFire3 = 12,           // C, L, shift, pad X
    kActionButton4 = 13,         // V, I, pad Y
    kActionLeftShoulder = 14,    // B, U
    kActionRightShoulder = 15,   // N, O: the credits box from the title menu
    kActionBack = 99,            // back and pause
};

const int kVirtualKeys = 19;                    // entries 0..18 are keys; a frame clears those at 1
const int kVKeyICadeO = 16, kVKeyICadeL = 17;   // back, from the iCade
const int kVKeyBackHits = 19;

// A list of actions, held by value: a named list below, a single action, or a braced list.
class ActionList {
public:
    constexpr ActionList(Action action) : actions_{action}, count_(1) {}
    constexpr ActionList(std::initializer_list<Action> actions) : actions_{}, count_(0) {
        for (Action a : actions) actions_[count_++] = a;
    }
    constexpr const Action* begin() const { return actions_; }
    constexpr const Action* end() const { return actions_ + count_; }

private:
    static const int kMost = 11;   // every action once
    Action actions_[kMost];
    int count_;
};

// Every action: a latch frees only when none of them is down.
inline constexpr ActionList kEveryAction = {
    kActionUp,    kActionLeft,    kActionRight,        kActionDown,          kActionFire, kActionFire2,
    kActionFire3, kActionButton4, kActionLeftShoulder, kActionRightShoulder, kActionBack};
// The cursor one way or the other: menus, the options box, the pause menu from its centre.
inline constexpr ActionList kPrevious = {kActionUp, kActionLeft};
inline constexpr ActionList kNext = {kActionDown, kActionRight};
// The swing (player 0 alone).
inline constexpr ActionList kSwing = {kActionFire, kActionFire2, kActionFire3};
// Confirming the selected item of the title menu.
inline constexpr ActionList kMenuFire = {kActionFire, kActionFire2, kActionFire3, kActionButton4};
// Acting on the selected row of the options box.
inline constexpr ActionList kRowFire = {kActionFire,    kActionFire2,        kActionFire3,
                                        kActionButton4, kActionLeftShoulder, kActionRightShoulder};
// Closing a box: the options box on its back item, the credits box.
inline constexpr ActionList kCloseBox = {kActionFire, kActionFire2, kActionRightShoulder};
// Scrolling the credit lines faster.
inline constexpr ActionList kScrollCredits = {kActionDown, kActionUp};
// Back to the pause menu's centre from its end button (left) and its options button (right).
inline constexpr ActionList kFromEndButton = {kActionRight, kActionDown};
inline constexpr ActionList kFromOptionsButton = {kActionLeft, kActionDown};
