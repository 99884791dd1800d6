#include "test_play.h"

#include "dialogs.h"
#include "editor_paths.h"
#include "stage_file_io.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

namespace {

constexpr int CANVAS_MIDDLE = 144;
constexpr const char* SCRATCH_NAME = "__ed.vtg";

} // namespace

int testPlayStageIndex(const StageSet& set) {
    int index = 0;
    for (int slot = 0; slot < set.currentSlot; ++slot)
        if (!set.stageSlots[size_t(slot)].empty()) ++index;
    return index;
}

QStringList testPlayArguments(const StageSet& set) {
    return {QString::asprintf("%.2d", testPlayStageIndex(set)),
            QString::asprintf("%.8d", set.viewLeft + CANVAS_MIDDLE), SCRATCH_NAME};
}

QString scratchFilePath() {
    return gamePath(QString("stage/") + SCRATCH_NAME);
}

QString gameProgramPath() {
    return gamePath("velta");
}

TestPlayResult runTestPlay(const StageSet& set, QWidget* parent) {
    // The scratch file holds only the slots that hold something: an empty
    // slot has no stage of its own for the game to start.
    if (set.current().empty()) {
        dialogs().messageBox(parent, "このｽﾃｰｼﾞには何も配置されていません。", "警告",
                             Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
        return TestPlayResult::NothingToPlay;
    }
    QString error;
    if (!writeStageFile(scratchFilePath(), set, error)) {
        dialogs().messageBox(parent, scratchFilePath() + "\n" + error, "VeltaEdit",
                             Dialogs::Buttons::Ok, Dialogs::Icon::Error);
        return TestPlayResult::WriteFailed;
    }
    QCoreApplication::processEvents();

    QProcess game;
    game.setProgram(gameProgramPath());
    game.setArguments(testPlayArguments(set));
    game.setWorkingDirectory(gamePath(""));
    game.setProcessChannelMode(QProcess::ForwardedChannels);
    game.start();
    if (!game.waitForStarted(-1)) {
        dialogs().messageBox(parent, "ｹﾞｰﾑ本体の実行ﾌｧｲﾙvelta.exeを起動できません。", "ｴﾗｰ",
                             Dialogs::Buttons::Ok, Dialogs::Icon::Error);
        return TestPlayResult::GameNotStarted;
    }
    // The editor stays still while the game runs, as one program after the
    // other.
    game.waitForFinished(-1);
    QFile::remove(scratchFilePath());
    return TestPlayResult::Played;
}
