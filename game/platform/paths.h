// File names as the game writes them ("stage\\def.vtg", any letter case) turned
// into names this machine's file system finds.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

// "\\" becomes "/", doubled separators collapse; when the exact name does not
// exist, each component is looked up ignoring letter case. A name that cannot
// be found in any case is returned with its separators converted.
std::string resolvePath(const std::string& name);

// fopen through resolvePath.
FILE* openFile(const std::string& name, const char* mode);

// The whole file as bytes; nothing when it cannot be opened or read, or is no
// regular file (a folder, a device, a FIFO).
std::optional<std::string> readWholeFile(const std::string& name);
// The same as a Windows text-mode read sees it: every CR LF becomes LF.
std::optional<std::string> readTextModeFile(const std::string& name);

// True when path, with every link and ".." followed, is a regular file inside
// folder or one of its subfolders.
bool regularFileWithin(const std::string& path, const std::string& folder);

// The game folder, ending with "/": where the game's data is (game_folders.h
// chooses it at start-up); "./" until then.
std::string gameFolder();
// The portable layout with the executable's own folder as the game folder.
void setGameFolderFromExecutable(const std::string& executablePath);
