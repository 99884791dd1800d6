// The editor of an installed game: the game's data read from the installed
// folder, the player's stage files opened, saved and test-played in the
// player's own stage folder, where the installed game finds them.
#include "editor_paths.h"
#include "stage_file_io.h"
#include "support/editor_forms.h"
#include "support/fixture_files.h"
#include "test_play.h"

#include <QFile>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class InstalledEditor : public EditorForms {
  protected:
    InstalledEditor() : home_(makeTempFolder("editor-home")) {
        fs::create_directories(home_ / "games");
        EditorFolders folders;
        folders.portable = false;
        folders.editor = folder.gamePath("editor");
        folders.game = folder.gamePath("");
        folders.gameProgram = QString::fromStdString((home_ / "games/velta").string());
        folders.stages = QString::fromStdString((home_ / "data/velta/stage").string());
        setEditorFolders(folders);
        QString problem;
        EXPECT_TRUE(prepareStageFolder(problem)) << problem.toStdString();
        remakeForms();
    }

    QString ownStage(const std::string& name) const {
        return QString::fromStdString((home_ / "data/velta/stage" / name).string());
    }

    fs::path home_;
};

TEST_F(InstalledEditor, OpensAndSavesInThePlayersStageFolder) {
    EXPECT_TRUE(fs::is_directory(home_ / "data/velta/stage"));
    stageSet().current().placeObject(0, 224, 1);
    dialogs.chosenFiles = {ownStage("mine.vtg")};
    main->Save1Click();
    EXPECT_EQ(dialogs.saveDialogFolders, QStringList{stageFolder()});
    EXPECT_EQ(fileBytes(ownStage("mine.vtg")), stageFileBytes(stageSet()));

    dialogs.chosenFiles = {ownStage("mine.vtg")};
    main->Open1Click();
    ASSERT_FALSE(dialogs.openDialogFolders.isEmpty());
    EXPECT_EQ(dialogs.openDialogFolders.back(), stageFolder());
}

TEST_F(InstalledEditor, TestPlayGivesTheGameTheScratchFileInThePlayersFolder) {
    const QString seen = QString::fromStdString((home_ / "seen.txt").string());
    const QString script = "#!/bin/sh\n"
                           "printf '%s\\n' \"$*\" > '" +
                           seen +
                           "'\n"
                           "pwd >> '" +
                           seen +
                           "'\n"
                           "cp '" +
                           stageFolder() + "'/\"$3\" '" + seen + ".vtg'\n";
    writeBytes(editorFolders().gameProgram, script.toUtf8());
    fs::permissions(home_ / "games/velta", fs::perms::owner_all);
    stageSet().current().placeObject(0, 224, 1);
    const QByteArray expectedFile = stageFileBytes(stageSet());

    main->estPlay1Click();
    const QStringList lines = QString::fromUtf8(fileBytes(seen)).split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "00 00000144 __ed.vtg");
    EXPECT_EQ(fs::canonical(lines[1].toStdString()), fs::canonical(folder.game()));
    EXPECT_EQ(fileBytes(seen + ".vtg"), expectedFile);
    EXPECT_FALSE(QFile::exists(ownStage("__ed.vtg")));
    EXPECT_TRUE(fs::is_empty(folder.game() / "stage")) << "nothing is written to the game's folder";
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(InstalledEditor, AShippedStageIsSavedAsThePlayersOwnCopy) {
    stageSet().current().placeObject(0, 224, 1);
    const QString shipped = folder.stageFile("shipped.vtg");
    writeBytes(shipped, stageFileBytes(stageSet()));
    const QByteArray shippedBytes = fileBytes(shipped);
    takeAsOpened();
    dialogs.chosenFiles = {shipped};
    main->Open1Click();
    ASSERT_EQ(main->fileName(), shipped);
    stageSet().current().placeObject(16, 224, 1);

    dialogs.chosenFiles = {ownStage("shipped.vtg")};
    main->Save1Click();
    EXPECT_EQ(dialogs.saveDialogFolders, QStringList{stageFolder() + "/shipped.vtg"});
    EXPECT_EQ(main->fileName(), ownStage("shipped.vtg"));
    EXPECT_EQ(fileBytes(ownStage("shipped.vtg")), stageFileBytes(stageSet()));
    EXPECT_EQ(fileBytes(shipped), shippedBytes);
    EXPECT_FALSE(main->modified());
}

TEST_F(InstalledEditor, NothingIsSavedIntoTheInstalledGameFolder) {
    stageSet().current().placeObject(0, 224, 1);
    for (const QString& target : {folder.stageFile("new.vtg"), folder.gamePath("new.vtg")}) {
        dialogs.boxes.clear();
        dialogs.chosenFiles = {target};
        main->SaveAs1Click();
        EXPECT_FALSE(QFile::exists(target)) << target.toStdString();
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].icon, Dialogs::Icon::Error);
        EXPECT_TRUE(main->modified());
    }
}

} // namespace
