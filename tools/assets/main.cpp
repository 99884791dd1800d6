// velta_assets: makes the game folder's data files from assets/.
//
//   velta_assets all <assets dir> <game dir>
//   velta_assets pictures|sounds|music|texts|stages <assets dir> <game dir>
//   velta_assets icons <assets dir> <game dir> <icon theme dir>
//   velta_assets contact <game dir> <output dir>
//   velta_assets import <assets dir> <file.vtg> <out.stages>
#include "builders.h"
#include "stages/stage_import.h"

#include <cstdio>
#include <cstring>

namespace {

int usage() {
    std::fprintf(
        stderr,
        "usage: velta_assets all|pictures|sounds|music|texts|stages <assets dir> <game dir>\n"
        "       velta_assets icons <assets dir> <game dir> <icon theme dir>\n"
        "       velta_assets contact <game dir> <output dir>\n"
        "       velta_assets import <assets dir> <file.vtg> <out.stages>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "import") == 0)
        return importStageFile(argv[2], argv[3], argv[4]);
    if (argc == 5 && std::strcmp(argv[1], "icons") == 0)
        return buildIcons(argv[2], argv[3], argv[4]);
    if (argc != 4) return usage();
    const char* command = argv[1];
    const std::string first = argv[2];
    const std::string second = argv[3];
    if (std::strcmp(command, "pictures") == 0) return buildPictures(first, second);
    if (std::strcmp(command, "sounds") == 0) return buildSounds(first, second);
    if (std::strcmp(command, "music") == 0) return buildMusic(first, second);
    if (std::strcmp(command, "texts") == 0) return buildTexts(first, second);
    if (std::strcmp(command, "stages") == 0) return buildStages(first, second);
    if (std::strcmp(command, "contact") == 0) return writeContactSheets(first, second);
    if (std::strcmp(command, "all") == 0) {
        int failures = 0;
        failures += buildPictures(first, second) != 0;
        failures += buildSounds(first, second) != 0;
        failures += buildMusic(first, second) != 0;
        failures += buildTexts(first, second) != 0;
        failures += buildStages(first, second) != 0;
        return failures == 0 ? 0 : 1;
    }
    return usage();
}
