// The parts of the asset builder. Each reads its sources from a folder under
// assets/ and writes into the game folder; each returns 0 on success and
// prints what went wrong otherwise.
#pragma once

#include <string>

// pal.bmp, chr.bmp, mapobj.bmp, beam.bmp, enemy.bmp, effect.bmp, tt.bmp and dat/eNN.dat.
int buildPictures(const std::string& assetsDir, const std::string& gameDir);
// Each icons/<name>.txt: the program's window icon, the 8-bit BMP its "sheet"
// line names in the game folder, and <theme dir>/<N>x<N>/apps/<name>.png for
// the sizes desktops use, enlarged nearest-neighbour, index 0 transparent.
int buildIcons(const std::string& assetsDir, const std::string& gameDir,
               const std::string& themeDir);
// One enlarged PNG with a cell grid per sheet of the game folder.
int writeContactSheets(const std::string& gameDir, const std::string& outDir);
// se/*.wav
int buildSounds(const std::string& assetsDir, const std::string& gameDir);
// bgm/*.mid
int buildMusic(const std::string& assetsDir, const std::string& gameDir);
// editor/exp.dat (Shift-JIS) and the editor's help file.
int buildTexts(const std::string& assetsDir, const std::string& gameDir);
// stage/*.vtg from the text maps in stages/*.stages; none is fine.
int buildStages(const std::string& assetsDir, const std::string& gameDir);
