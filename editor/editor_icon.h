// The editor's icon: the pixel art the build writes into the editor's folder
// ("icon.bmp", palette entry 0 transparent as on the game's sheets).
#pragma once

#include <QIcon>
#include <QImage>

// At 32 by 32 pixels for the about box; transparent when the file is missing.
QImage editorIconPicture();
// For the windows, enlarged without smoothing to the sizes panels ask for.
QIcon editorIcon();
