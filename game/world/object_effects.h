// What touching an object of each kind does, named in the kinds' rows: the
// hazards' rules, collecting an item, reaching the goal, the spring, and who
// triggers a block and what it then does.
#pragma once

#include "world/body.h"
#include "world/contact.h"
#include "world/map_object.h"

// Hazards: whether the player dies meeting one by the contact.
bool killsOnAnyContact(Contact contact);
bool killsWhenLandedOn(Contact contact);
bool killsWhenBumped(Contact contact);
bool killsTheRightSide(Contact contact);
bool killsTheLeftSide(Contact contact);

// Items and the goal, taken by the player.
void collectCoin(MapObject& item);
void collectFourCoins(MapObject& item);
void collectFourSpanners(MapObject& item);
void collectTwoSpanners(MapObject& item);
void collectExtraLife(MapObject& item);
void collectSmallHeal(MapObject& item);
void collectLargeHeal(MapObject& item);
void collectGaugeUp(MapObject& item);
void reachGoal(MapObject& goal);

// The spring under the player's feet.
void fireSpring(const MapObject& spring);

// Who triggers a block.
bool headBumpRising(Contact contact, const Body& actor);
bool anyBumpOrHit(Contact contact, const Body& actor); // a rising head, a spanner or a shell
bool playerOrHit(Contact contact,
                 const Body& actor); // any touch of the player, a spanner or a shell

// What a triggered block does.
void revealHiddenBlock(MapObject& block, Contact contact, Body& actor);
void toggleBlock(MapObject& block, Contact contact, Body& actor);
void flipSwitchWalls(MapObject& block, Contact contact, Body& actor);
void releaseFourCoins(MapObject& block, Contact contact, Body& actor);
void releaseFourSpanners(MapObject& block, Contact contact, Body& actor);
void releaseLargeHeal(MapObject& block, Contact contact, Body& actor);
void releaseGaugeUp(MapObject& block, Contact contact, Body& actor);
void breakBrick(MapObject& block, Contact contact, Body& actor);
void breakFragileBlock(MapObject& block, Contact contact, Body& actor);
void explodeBombBlock(MapObject& block, Contact contact, Body& actor);
