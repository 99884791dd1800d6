#include "platform/sdl/key_mapping.h"

#include "platform/virtual_keys.h"

namespace {

struct KeyRow {
    SDL_Scancode scancode;
    KeyCodes codes;
};

// clang-format off
constexpr KeyRow NAMED_KEYS[] = {
    {SDL_SCANCODE_0,            {VK_0, 0}},
    {SDL_SCANCODE_RETURN,       {VK_RETURN, 0}},
    {SDL_SCANCODE_KP_ENTER,     {VK_RETURN, 0}},
    {SDL_SCANCODE_ESCAPE,       {VK_ESCAPE, 0}},
    {SDL_SCANCODE_BACKSPACE,    {VK_BACK, 0}},
    {SDL_SCANCODE_TAB,          {VK_TAB, 0}},
    {SDL_SCANCODE_SPACE,        {VK_SPACE, 0}},
    {SDL_SCANCODE_LEFT,         {VK_LEFT, 0}},
    {SDL_SCANCODE_UP,           {VK_UP, 0}},
    {SDL_SCANCODE_RIGHT,        {VK_RIGHT, 0}},
    {SDL_SCANCODE_DOWN,         {VK_DOWN, 0}},
    {SDL_SCANCODE_LSHIFT,       {VK_SHIFT, VK_LSHIFT}},
    {SDL_SCANCODE_RSHIFT,       {VK_SHIFT, VK_RSHIFT}},
    {SDL_SCANCODE_LCTRL,        {VK_CONTROL, VK_LCONTROL}},
    {SDL_SCANCODE_RCTRL,        {VK_CONTROL, VK_RCONTROL}},
    {SDL_SCANCODE_LALT,         {VK_MENU, VK_LMENU}},
    {SDL_SCANCODE_RALT,         {VK_MENU, VK_RMENU}},
    {SDL_SCANCODE_PAUSE,        {VK_PAUSE, 0}},
    {SDL_SCANCODE_CAPSLOCK,     {VK_CAPITAL, 0}},
    {SDL_SCANCODE_PAGEUP,       {VK_PRIOR, 0}},
    {SDL_SCANCODE_PAGEDOWN,     {VK_NEXT, 0}},
    {SDL_SCANCODE_END,          {VK_END, 0}},
    {SDL_SCANCODE_HOME,         {VK_HOME, 0}},
    {SDL_SCANCODE_INSERT,       {VK_INSERT, 0}},
    {SDL_SCANCODE_DELETE,       {VK_DELETE, 0}},
    {SDL_SCANCODE_KP_0,         {VK_NUMPAD0, 0}},
    {SDL_SCANCODE_KP_MULTIPLY,  {VK_MULTIPLY, 0}},
    {SDL_SCANCODE_KP_PLUS,      {VK_ADD, 0}},
    {SDL_SCANCODE_KP_MINUS,     {VK_SUBTRACT, 0}},
    {SDL_SCANCODE_KP_PERIOD,    {VK_DECIMAL, 0}},
    {SDL_SCANCODE_KP_DIVIDE,    {VK_DIVIDE, 0}},
    {SDL_SCANCODE_NUMLOCKCLEAR, {VK_NUMLOCK, 0}},
    {SDL_SCANCODE_SCROLLLOCK,   {VK_SCROLL, 0}},
    {SDL_SCANCODE_SEMICOLON,    {VK_OEM_1, 0}},
    {SDL_SCANCODE_EQUALS,       {VK_OEM_PLUS, 0}},
    {SDL_SCANCODE_COMMA,        {VK_OEM_COMMA, 0}},
    {SDL_SCANCODE_MINUS,        {VK_OEM_MINUS, 0}},
    {SDL_SCANCODE_PERIOD,       {VK_OEM_PERIOD, 0}},
    {SDL_SCANCODE_SLASH,        {VK_OEM_2, 0}},
    {SDL_SCANCODE_GRAVE,        {VK_OEM_3, 0}},
    {SDL_SCANCODE_LEFTBRACKET,  {VK_OEM_4, 0}},
    {SDL_SCANCODE_BACKSLASH,    {VK_OEM_5, 0}},
    {SDL_SCANCODE_RIGHTBRACKET, {VK_OEM_6, 0}},
    {SDL_SCANCODE_APOSTROPHE,   {VK_OEM_7, 0}},
};
// clang-format on

} // namespace

KeyCodes virtualKeysOfScancode(SDL_Scancode scancode) {
    const int s = int(scancode);
    // Runs of keys whose codes follow each other on both sides.
    if (s >= SDL_SCANCODE_A && s <= SDL_SCANCODE_Z) return {VK_A + (s - SDL_SCANCODE_A), 0};
    if (s >= SDL_SCANCODE_1 && s <= SDL_SCANCODE_9) return {VK_1 + (s - SDL_SCANCODE_1), 0};
    if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return {VK_F1 + (s - SDL_SCANCODE_F1), 0};
    if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9)
        return {VK_NUMPAD0 + 1 + (s - SDL_SCANCODE_KP_1), 0};
    for (const KeyRow& row : NAMED_KEYS)
        if (row.scancode == scancode) return row.codes;
    return {};
}

bool scancodeIsVirtualKey(SDL_Scancode scancode, int virtualKey) {
    if (virtualKey <= 0) return false;
    const KeyCodes codes = virtualKeysOfScancode(scancode);
    return codes.message == virtualKey || codes.side == virtualKey;
}
