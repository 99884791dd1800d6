#include "platform/game_folders.h"

#include "platform/paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

// Where an install puts the game's data, seen from the programs' folder; the
// build sets it from the install folders, so a moved install still works.
#ifndef VELTA_DATA_FROM_PROGRAMS
#define VELTA_DATA_FROM_PROGRAMS "../share/games/velta"
#endif

namespace {

constexpr const char* MAIN_GAME_FILE = "def.vtg";
// Present in every game folder: without it the game does not start.
constexpr const char* DATA_MARK = "pal.bmp";
constexpr const char* USER_FOLDER_NAME = "velta/";

GameFolders current = [] {
    GameFolders folders;
    folders.game = "./";
    folders.settingsFile = "./config.ini";
    folders.paletteTableFile = "palfile.dat";
    return folders;
}();

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

bool regularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool writableFolder(const std::string& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string absoluteBase(const char* variable, const std::string& home, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return withSlash(value);
    return home.empty() ? std::string() : home + fallback;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return withSlash(home);
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/')
        return withSlash(entry->pw_dir);
    return {};
}

// Creates folder (and its parents) and checks that files can be made in it;
// on failure says so, with what is lost, and returns false.
bool prepareFolder(const std::string& folder, const char* what, const char* loss) {
    if (folder.empty()) {
        std::fprintf(stderr, "velta: no home folder is known for the %s: %s\n", what, loss);
        return false;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "velta: cannot create the folder %s for the %s (%s): %s\n",
                     folder.c_str(), what, error.message().c_str(), loss);
        return false;
    }
    if (!writableFolder(folder)) {
        std::fprintf(stderr, "velta: cannot write in the folder %s for the %s (%s): %s\n",
                     folder.c_str(), what, std::strerror(errno), loss);
        return false;
    }
    return true;
}

} // namespace

UserBaseFolders userBaseFoldersFromEnvironment() {
    const std::string home = homeFolder();
    UserBaseFolders bases;
    bases.config = absoluteBase("XDG_CONFIG_HOME", home, ".config/");
    bases.cache = absoluteBase("XDG_CACHE_HOME", home, ".cache/");
    bases.data = absoluteBase("XDG_DATA_HOME", home, ".local/share/");
    return bases;
}

std::string dataFolderOf(const std::string& executablePath) {
    const std::string own = folderOf(executablePath);
    if (regularFile(own + DATA_MARK)) return own;
    const std::string installed = withSlash(own + VELTA_DATA_FROM_PROGRAMS);
    if (regularFile(installed + DATA_MARK)) return installed;
    // Neither holds data: the game's own folder, where its error names the
    // missing palette picture.
    return own;
}

GameFolders chooseGameFolders(const std::string& executablePath, const UserBaseFolders& bases) {
    const std::string game = dataFolderOf(executablePath);
    // An installed game's data folder is never written, also not when the
    // player may write it (root, or a prefix of the player's own): its files
    // belong to the install, and would outlive an uninstall.
    const bool portable = game == folderOf(executablePath) && writableFolder(game);
    return gameFoldersFor(game, portable, bases);
}

GameFolders gameFoldersFor(const std::string& gameFolder, bool portable,
                           const UserBaseFolders& bases) {
    GameFolders folders;
    folders.portable = portable;
    folders.game = withSlash(gameFolder);
    if (portable) {
        folders.settingsFile = folders.game + "config.ini";
        // Opened from the current folder, which is the game folder.
        folders.paletteTableFile = "palfile.dat";
        return folders;
    }
    // An unknown base leaves the file name empty: nothing can be read from
    // or written to it, and prepareGameFolders says so.
    const auto inside = [](const std::string& base, const std::string& name) {
        return base.empty() ? std::string() : withSlash(base) + USER_FOLDER_NAME + name;
    };
    folders.settingsFile = inside(bases.config, "config.ini");
    folders.paletteTableFile = inside(bases.cache, "palfile.dat");
    folders.userStages = inside(bases.data, "stage/");
    return folders;
}

void useGameFolders(const GameFolders& folders) {
    current = folders;
    current.game = withSlash(folders.game);
}

const GameFolders& currentGameFolders() {
    return current;
}

int prepareGameFolders() {
    if (current.portable) return 0;
    const auto folderOfFile = [](const std::string& file) {
        return file.empty() ? std::string() : folderOf(file);
    };
    int problems = 0;
    if (!prepareFolder(folderOfFile(current.settingsFile), "settings and ranking",
                       current.settingsFile.empty() ? "nothing is saved"
                                                    : "the ranking is not saved"))
        ++problems;
    if (!prepareFolder(folderOfFile(current.paletteTableFile), "palette table cache",
                       "the palette tables are made anew at every start"))
        ++problems;
    if (chdir(current.game.c_str()) != 0) {
        std::fprintf(stderr, "velta: cannot enter the game folder %s (%s)\n", current.game.c_str(),
                     std::strerror(errno));
        ++problems;
    }
    return problems;
}

std::string stageFilePath(const std::string& fileName) {
    const std::string shipped = current.game + "stage/" + fileName;
    if (current.userStages.empty() || fileName == MAIN_GAME_FILE) return shipped;
    const std::string own = resolvePath(current.userStages + fileName);
    return regularFile(own) ? own : shipped;
}

std::string gameFolder() {
    return current.game;
}

void setGameFolderFromExecutable(const std::string& executablePath) {
    useGameFolders(gameFoldersFor(folderOf(executablePath), true, {}));
}
