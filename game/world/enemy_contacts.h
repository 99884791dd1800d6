// What the player's stomps and touches and the spanners do to an enemy, named
// in the enemy kinds' rows.
#pragma once

#include "world/enemy_kinds.h"

void stompInto(Enemy& e, const EnemyKindRow& row, int contact); // becomes the row's kind
void hitInto(Enemy& e, const EnemyKindRow& row, int contact);
void kickShell(Enemy& e, const EnemyKindRow& row, int contact); // slides away from the player
void stompOffWings(Enemy& e, const EnemyKindRow& row, int contact);
void hitOffWings(Enemy& e, const EnemyKindRow& row, int contact);
void stompKnocksOut(Enemy& e, const EnemyKindRow& row, int contact);
void hitBreaksApartAtThree(Enemy& e, const EnemyKindRow& row, int contact);
void stompFlattens(Enemy& e, const EnemyKindRow& row, int contact);
void hitKnocksOut(Enemy& e, const EnemyKindRow& row, int contact);
void hurtsThePlayer(Enemy& e, const EnemyKindRow& row, int contact);
void shrugsOff(Enemy& e, const EnemyKindRow& row, int contact);
