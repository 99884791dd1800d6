// What the asset tests share: running velta_assets and handling raw files.
#pragma once

#include <filesystem>
#include <string>

namespace asset_test {

std::string readBytes(const std::filesystem::path& path);
// Creates the folders on the way and replaces the file.
void writeBytes(const std::filesystem::path& path, const std::string& bytes);

std::string repeated(const std::string& text, int times);

struct BuilderRun {
    int status = -1; // the exit status; -1 when it did not exit normally
    std::string output;
};

// Runs velta_assets with the arguments (shell words after the program's name)
// and collects what it prints on both streams. The shell runs shellPrefix
// first, such as a limit for the builder to run under.
BuilderRun runAssetBuilder(const std::string& arguments, const std::string& shellPrefix = "");

} // namespace asset_test
