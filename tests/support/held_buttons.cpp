#include "support/held_buttons.h"

#include "platform/headless/headless.h"

void holdButtons(uint8_t buttons) {
    for (int button = BUTTON_UP; button <= BUTTON_C; ++button)
        headless::setKey(input.code(button), (buttons >> button) & 1);
}
