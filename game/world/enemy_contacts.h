// What the player's stomps and touches and the spanners do to an enemy, named
// in the enemy kinds' rows.
#pragma once

#include "world/enemy_kinds.h"

void stompInto(Enemy& e, const EnemyKindRow& row, Contact contact); // becomes the row's kind
void hitInto(Enemy& e, const EnemyKindRow& row, Contact contact);
void kickShell(Enemy& e, const EnemyKindRow& row, Contact contact); // slides away from the player
void stompOffWings(Enemy& e, const EnemyKindRow& row, Contact contact);
void hitOffWings(Enemy& e, const EnemyKindRow& row, Contact contact);
void stompKnocksOut(Enemy& e, const EnemyKindRow& row, Contact contact);
void hitBreaksApartAtThree(Enemy& e, const EnemyKindRow& row, Contact contact);
void stompFlattens(Enemy& e, const EnemyKindRow& row, Contact contact);
void hitKnocksOut(Enemy& e, const EnemyKindRow& row, Contact contact);
void hurtsThePlayer(Enemy& e, const EnemyKindRow& row, Contact contact);
void shrugsOff(Enemy& e, const EnemyKindRow& row, Contact contact);
