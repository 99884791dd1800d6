#include "editor_paths.h"

#include "support/fixture_files.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path) {
    return QDir::cleanPath(QString::fromStdString(path.string()));
}

TEST(EditorFolders, PortableBesideTheGameOrInstalledBesideTheInstalledGame) {
    const fs::path root = makeTempFolder("editor-layouts");
    fs::create_directories(root / "game/editor");
    writeTextFile(root / "game/editor/exp.dat", "[0]");
    fs::create_directories(root / "usr/games");
    fs::create_directories(root / "usr/share/games/velta/editor");
    writeTextFile(root / "usr/share/games/velta/editor/exp.dat", "[0]");
    const QString home = text(root / "home/data");

    const struct {
        fs::path program;
        QString dataHome;
        bool portable;
        fs::path editor, game, gameProgram;
        QString stages;
    } cases[] = {
        {root / "game/editor", home, true, root / "game/editor", root / "game", root / "game/velta",
         text(root / "game/stage")},
        {root / "usr/games", home, false, root / "usr/share/games/velta/editor",
         root / "usr/share/games/velta", root / "usr/games/velta", home + "/velta/stage"},
        // No home folder known: no folder of the player's to save in.
        {root / "usr/games", QString(), false, root / "usr/share/games/velta/editor",
         root / "usr/share/games/velta", root / "usr/games/velta", QString()},
    };
    for (const auto& c : cases) {
        const EditorFolders folders = chooseEditorFolders(text(c.program), c.dataHome);
        SCOPED_TRACE(c.program.string() + " " + c.dataHome.toStdString());
        EXPECT_EQ(folders.portable, c.portable);
        EXPECT_EQ(folders.editor, text(c.editor));
        EXPECT_EQ(folders.game, text(c.game));
        EXPECT_EQ(folders.gameProgram, text(c.gameProgram));
        EXPECT_EQ(folders.stages, c.stages);
    }
}

TEST(EditorFolders, AStageFolderThatCannotBeMadeIsReported) {
    const fs::path root = makeTempFolder("editor-blocked");
    writeTextFile(root / "data", "a file where the data folder should be");
    const struct {
        QString stages;
        const char* problem;
    } cases[] = {
        {text(root / "data/velta/stage"), "cannot create the folder"},
        {QString(), "no home folder"},
    };
    for (const auto& c : cases) {
        EditorFolders folders;
        folders.portable = false;
        folders.editor = text(root);
        folders.stages = c.stages;
        setEditorFolders(folders);
        QString problem;
        EXPECT_FALSE(prepareStageFolder(problem));
        EXPECT_TRUE(problem.startsWith(c.problem)) << problem.toStdString();
    }
    setEditorFolders({});
}

} // namespace
