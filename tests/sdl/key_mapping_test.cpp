// The SDL backend's key table: physical keys to the virtual keys config.ini names.
#include "platform/sdl/key_mapping.h"
#include "platform/virtual_keys.h"

#include <SDL_keyboard.h>
#include <gtest/gtest.h>

TEST(KeyMapping, KeysReadAsTheVirtualKeysConfigIniNames) {
    // clang-format off
    const struct {
        SDL_Scancode scancode;
        int message, side;
    } cases[] = {
        {SDL_SCANCODE_A,      VK_A,       0},
        {SDL_SCANCODE_Z,      VK_Z,       0},
        {SDL_SCANCODE_0,      VK_0,       0},
        {SDL_SCANCODE_9,      VK_9,       0},
        {SDL_SCANCODE_F1,     VK_F1,      0},
        {SDL_SCANCODE_F10,    VK_F10,     0},
        {SDL_SCANCODE_KP_0,   VK_NUMPAD0, 0},
        {SDL_SCANCODE_KP_9,   VK_NUMPAD0 + 9, 0},
        {SDL_SCANCODE_SPACE,  VK_SPACE,   0},
        {SDL_SCANCODE_ESCAPE, VK_ESCAPE,  0},
        {SDL_SCANCODE_UP,     VK_UP,      0},
        {SDL_SCANCODE_LSHIFT, VK_SHIFT,   VK_LSHIFT},
        {SDL_SCANCODE_RSHIFT, VK_SHIFT,   VK_RSHIFT},
        {SDL_SCANCODE_LCTRL,  VK_CONTROL, VK_LCONTROL},
        {SDL_SCANCODE_RCTRL,  VK_CONTROL, VK_RCONTROL},
        {SDL_SCANCODE_LALT,   VK_MENU,    VK_LMENU},
        {SDL_SCANCODE_RALT,   VK_MENU,    VK_RMENU},
        {SDL_SCANCODE_SLASH,  VK_OEM_2,   0},
        {SDL_SCANCODE_F13,    0,          0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const KeyCodes codes = virtualKeysOfScancode(c.scancode);
        EXPECT_EQ(codes.message, c.message) << SDL_GetScancodeName(c.scancode);
        EXPECT_EQ(codes.side, c.side) << SDL_GetScancodeName(c.scancode);
    }
}

TEST(KeyMapping, ASidedModifierIsDownUnderBothItsCodes) {
    EXPECT_TRUE(scancodeIsVirtualKey(SDL_SCANCODE_LSHIFT, VK_SHIFT));
    EXPECT_TRUE(scancodeIsVirtualKey(SDL_SCANCODE_LSHIFT, VK_LSHIFT));
    EXPECT_FALSE(scancodeIsVirtualKey(SDL_SCANCODE_LSHIFT, VK_RSHIFT));
    EXPECT_TRUE(scancodeIsVirtualKey(SDL_SCANCODE_RALT, VK_RMENU));
    EXPECT_FALSE(scancodeIsVirtualKey(SDL_SCANCODE_RALT, VK_LMENU));
    // Keys without a side never answer to code 0.
    EXPECT_FALSE(scancodeIsVirtualKey(SDL_SCANCODE_A, 0));
    EXPECT_FALSE(scancodeIsVirtualKey(SDL_SCANCODE_F13, 0));
}
