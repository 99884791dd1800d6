// Where the game reads its data and where it keeps what it writes.
//
// A game unpacked or built into a folder of the player's own keeps everything
// beside itself, as it always has: config.ini, palfile.dat and the stage
// files the player makes live in the game folder. An installed game's folder
// belongs to the system: its data is read from there, and what the game
// writes goes to the player's own folders (the XDG base folders) instead.
#pragma once

#include <string>

// The player's base folders, each an absolute path or empty when unknown.
struct UserBaseFolders {
    std::string config; // $XDG_CONFIG_HOME, else ~/.config
    std::string cache;  // $XDG_CACHE_HOME, else ~/.cache
    std::string data;   // $XDG_DATA_HOME, else ~/.local/share
};

// From the environment; a variable that is unset, empty or not an absolute
// path counts as unset, as the XDG rules say.
UserBaseFolders userBaseFoldersFromEnvironment();

struct GameFolders {
    // True: everything in the game folder. False: per-user folders.
    bool portable = true;
    std::string game;             // the game's data; ends with "/"
    std::string settingsFile;     // config.ini
    std::string paletteTableFile; // palfile.dat
    // The player's own stage files, listed and loaded before the game
    // folder's; ends with "/". Empty in the portable layout, where the
    // player's files are in the game folder's "stage" folder.
    std::string userStages;
};

// The folder that holds the game's data for a program at executablePath: its
// own folder, unless that holds no game data and the data folder an install
// puts beside the programs' folder does (ends with "/").
std::string dataFolderOf(const std::string& executablePath);

// The rule: the portable layout when the data lies in the program's own
// folder and that folder can be written, else the per-user folders.
GameFolders chooseGameFolders(const std::string& executablePath, const UserBaseFolders& bases);
// The folders for a known game folder and layout.
GameFolders gameFoldersFor(const std::string& gameFolder, bool portable,
                           const UserBaseFolders& bases);

// Makes these the folders of this run (see also gameFolder() in paths.h).
void useGameFolders(const GameFolders& folders);
const GameFolders& currentGameFolders();

// For the per-user layout: creates the folders the game writes into and
// makes the game folder the current folder, where the game opens its
// pictures. A folder that cannot be made, written or entered is reported on
// stderr with what the player loses; the game plays on without it. Returns
// the number of problems reported.
int prepareGameFolders();

// The path a stage file of this name is read from: the player's stage folder
// when it holds a file of that name (in any letter case), else the game
// folder's "stage" folder. The main game's file always comes from the game
// folder: its ranking is kept for the game as shipped.
std::string stageFilePath(const std::string& fileName);
