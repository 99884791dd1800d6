// What each enemy kind does every frame before gravity and motion, named in
// the enemy kinds' rows.
#pragma once

#include "world/enemy.h"

#include <cstdint>

void walker(Enemy& e);        // walks, turning at walls, barriers and other enemies
void restingShell(Enemy& e);  // lies still
void slidingShell(Enemy& e);  // knocks out the enemies and bumps the blocks it meets
void jumper(Enemy& e);        // jumps when the player comes within 64 pixels
void chaser(Enemy& e);        // the same, higher, turning towards the player
void keepsItsSpeed(Enemy& e); // flies straight on
void thrownShot(Enemy& e);    // falls in an arc
void thrower(Enemy& e);       // walks, stops and throws three shots
void homingFlyer(Enemy& e);   // accelerates towards the player

void startThrowing(Enemy& e, uint32_t now);
