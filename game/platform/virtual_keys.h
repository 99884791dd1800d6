// Windows virtual-key codes: the numbers config.ini names keys by, and the
// numbers the backends report keys as.
#pragma once

// clang-format off
constexpr int VK_BACK      = 0x08;
constexpr int VK_TAB       = 0x09;
constexpr int VK_RETURN    = 0x0D;
constexpr int VK_SHIFT     = 0x10; // either Shift key
constexpr int VK_CONTROL   = 0x11; // either Ctrl key
constexpr int VK_MENU      = 0x12; // either Alt key
constexpr int VK_PAUSE     = 0x13;
constexpr int VK_CAPITAL   = 0x14;
constexpr int VK_ESCAPE    = 0x1B;
constexpr int VK_SPACE     = 0x20;
constexpr int VK_PRIOR     = 0x21; // Page Up
constexpr int VK_NEXT      = 0x22; // Page Down
constexpr int VK_END       = 0x23;
constexpr int VK_HOME      = 0x24;
constexpr int VK_LEFT      = 0x25;
constexpr int VK_UP        = 0x26;
constexpr int VK_RIGHT     = 0x27;
constexpr int VK_DOWN      = 0x28;
constexpr int VK_INSERT    = 0x2D;
constexpr int VK_DELETE    = 0x2E;
constexpr int VK_NUMPAD0   = 0x60; // to VK_NUMPAD0 + 9
constexpr int VK_MULTIPLY  = 0x6A;
constexpr int VK_ADD       = 0x6B;
constexpr int VK_SUBTRACT  = 0x6D;
constexpr int VK_DECIMAL   = 0x6E;
constexpr int VK_DIVIDE    = 0x6F;
constexpr int VK_F1        = 0x70; // to VK_F1 + 11
constexpr int VK_F10       = 0x79;
constexpr int VK_F11       = 0x7A;
constexpr int VK_NUMLOCK   = 0x90;
constexpr int VK_SCROLL    = 0x91;
constexpr int VK_LSHIFT    = 0xA0;
constexpr int VK_RSHIFT    = 0xA1;
constexpr int VK_LCONTROL  = 0xA2;
constexpr int VK_RCONTROL  = 0xA3;
constexpr int VK_LMENU     = 0xA4;
constexpr int VK_RMENU     = 0xA5;
constexpr int VK_OEM_1     = 0xBA; // ;
constexpr int VK_OEM_PLUS  = 0xBB; // =
constexpr int VK_OEM_COMMA = 0xBC;
constexpr int VK_OEM_MINUS = 0xBD;
constexpr int VK_OEM_PERIOD = 0xBE;
constexpr int VK_OEM_2     = 0xBF; // /
constexpr int VK_OEM_3     = 0xC0; // `
constexpr int VK_OEM_4     = 0xDB; // [
constexpr int VK_OEM_5     = 0xDC; // backslash
constexpr int VK_OEM_6     = 0xDD; // ]
constexpr int VK_OEM_7     = 0xDE; // '
// clang-format on

constexpr int VIRTUAL_KEY_COUNT = 256;

// Letters and digits are their own upper-case ASCII codes.
constexpr int VK_A = 'A';
constexpr int VK_B = 'B';
constexpr int VK_C = 'C';
constexpr int VK_D = 'D';
constexpr int VK_E = 'E';
constexpr int VK_F = 'F';
constexpr int VK_G = 'G';
constexpr int VK_H = 'H';
constexpr int VK_I = 'I';
constexpr int VK_J = 'J';
constexpr int VK_K = 'K';
constexpr int VK_L = 'L';
constexpr int VK_M = 'M';
constexpr int VK_N = 'N';
constexpr int VK_O = 'O';
constexpr int VK_P = 'P';
constexpr int VK_Q = 'Q';
constexpr int VK_R = 'R';
constexpr int VK_S = 'S';
constexpr int VK_T = 'T';
constexpr int VK_U = 'U';
constexpr int VK_V = 'V';
constexpr int VK_W = 'W';
constexpr int VK_X = 'X';
constexpr int VK_Y = 'Y';
constexpr int VK_Z = 'Z';
constexpr int VK_0 = '0';
constexpr int VK_1 = '1';
constexpr int VK_2 = '2';
constexpr int VK_3 = '3';
constexpr int VK_4 = '4';
constexpr int VK_5 = '5';
constexpr int VK_6 = '6';
constexpr int VK_7 = '7';
constexpr int VK_8 = '8';
constexpr int VK_9 = '9';
