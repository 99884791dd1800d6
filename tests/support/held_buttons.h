// The buttons a test holds for the frames it plays, as masks of button bits.
#pragma once

#include "platform/input.h"

#include <cstdint>

constexpr uint8_t HOLD_UP = 1u << BUTTON_UP;
constexpr uint8_t HOLD_DOWN = 1u << BUTTON_DOWN;
constexpr uint8_t HOLD_LEFT = 1u << BUTTON_LEFT;
constexpr uint8_t HOLD_RIGHT = 1u << BUTTON_RIGHT;
constexpr uint8_t HOLD_PAUSE = 1u << BUTTON_PAUSE;
constexpr uint8_t HOLD_A = 1u << BUTTON_A;
constexpr uint8_t HOLD_B = 1u << BUTTON_B;
constexpr uint8_t HOLD_C = 1u << BUTTON_C;

// Presses the keys of the buttons in the mask and lets go of the others.
void holdButtons(uint8_t buttons);
