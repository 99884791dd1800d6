// How an actor meets a map object or an enemy.
#pragma once

#include <cstdint>

// Which side of an actor meets a map object, or what kind of actor meets it.
enum Contact : uint8_t {
    CONTACT_HEAD = 0,
    CONTACT_FEET = 1,
    CONTACT_RIGHT = 2,
    CONTACT_LEFT = 3,
    CONTACT_PROJECTILE = 4,
    CONTACT_SHELL = 5, // a kicked shell (enemy kind 3)
};
