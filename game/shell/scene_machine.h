// The ten scenes, the dispatcher, fades, the Escape request with its
// confirmation scene, and the quit operation.
#pragma once

#include "core/fades.h"
#include "core/play_state.h"
#include "shell/scene_table.h"

#include <cstdint>

enum Scene {
    SCENE_BOOT = 0,
    SCENE_GAMEPLAY = 1,
    SCENE_ENDING = 2,
    SCENE_LOGO = 3,
    SCENE_TITLE = 4,
    SCENE_GAME_OVER = 5,
    SCENE_EXTRA_STAGE = 6,
    SCENE_RANKING = 7,
    SCENE_STAFF_ROLL = 8,
    SCENE_CONFIRMATION = 9,
    SCENE_COUNT = 10,
};

// Clear colours the scenes present with.
enum ClearColour : uint8_t {
    CLEAR_BLACK = 0,
    CLEAR_LOGO = 1,
    CLEAR_ENDING = 4,
    CLEAR_SKY = 135,
};

extern int sceneNumber;
extern int returnScene;
extern uint8_t pauseFlag;
extern uint8_t escapeAgainFlag;

// Puts every scene-machine variable back to its start value.
void resetSceneMachine();

// The handler the scene table gives a scene number; none outside the table.
SceneHandler sceneHandler(int scene);

void sceneDispatcher();

// "A" or "PAUSE" just pressed: the confirm of every menu and dialog.
bool confirmPressed();

// The leaving pattern of the menu scenes.
// Step 1: on "A" or "PAUSE" just pressed while not leaving, plays the confirm
// sound (when playSound), sets the leaving flag and starts the fade-out.
// Returns true when it started leaving.
bool startLeavingOnConfirm(uint8_t& leavingFlag, bool playSound = true);
// Step 2: leaving, the fade done and the confirm sound over.
bool readyToLeave(uint8_t leavingFlag);
// Step 3's common start: wait 500 ms and clear the leaving flag. The caller
// then prepares the next scene, sets the scene number and starts the fade-in.
void finishLeaving(uint8_t& leavingFlag);

void escapeRequest();
void quitOperation();

// One frame of a scene whose contents arrive later: input, fade, present.
void plainSceneFrame(uint8_t clearColour);
