// Writing a whole file anew so that no failure leaves it half written, and
// never writing one the player made read-only.
#pragma once

#include <string>

// Writes text to a temporary file beside path and renames it over path, so a
// crash or a full disk leaves either the old file or the new one. False, and
// the file as it was, when that cannot be done: the folder is not writable,
// the disk is full, or the file has no write permission.
bool replaceFileAtomically(const std::string& path, const std::string& text);

// The same, for a file the player may keep in a folder the game cannot write
// to: when no temporary file can be made or renamed beside it, an existing
// writable file is rewritten in place instead, with the room for its new
// length claimed before any byte of it changes. False when the file was not
// written.
bool replaceFile(const std::string& path, const std::string& text);
