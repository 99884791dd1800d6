#include "test_play.h"

#include "dialogs.h"
#include "editor_paths.h"
#include "stage_file_io.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QWidget>

#include <vector>

namespace {

constexpr int CANVAS_MIDDLE = 144;
constexpr const char* SCRATCH_NAME = "__ed.vtg";

// Whatever way a test play ends, its scratch file goes: left behind, the
// game would list it as one more stage file of its own.
struct ScratchFileRemover {
    ScratchFileRemover() = default;
    ScratchFileRemover(const ScratchFileRemover&) = delete;
    ScratchFileRemover& operator=(const ScratchFileRemover&) = delete;
    ~ScratchFileRemover();
};

} // namespace

int testPlayStageIndex(const StageSet& set) {
    int index = 0;
    for (int slot = 0; slot < set.currentSlot; ++slot)
        if (slotIsWritten(set.stageSlots[size_t(slot)])) ++index;
    return index;
}

QStringList testPlayArguments(const StageSet& set) {
    const long long startX = static_cast<long long>(set.viewLeft) + CANVAS_MIDDLE;
    return {QString::asprintf("%.2d", testPlayStageIndex(set)), QString::asprintf("%.8lld", startX),
            SCRATCH_NAME};
}

// In the player's stage folder, where the game looks for the player's stage
// files first; the game folder's own "stage" folder in the portable layout.
QString scratchFilePath() {
    return stageFolder() + "/" + SCRATCH_NAME;
}

QString gameProgramPath() {
    return editorFolders().gameProgram;
}

ScratchFileRemover::~ScratchFileRemover() {
    QFile::remove(scratchFilePath());
}

TestPlayResult runTestPlay(const StageSet& set, QWidget* parent) {
    // The scratch file holds only the slots with something the file keeps:
    // any other slot has no stage of its own for the game to start.
    if (!slotIsWritten(set.current())) {
        dialogs().messageBox(
            parent,
            QCoreApplication::translate("TestPlay", "このｽﾃｰｼﾞには何も配置されていません。"),
            QCoreApplication::translate("TestPlay", "警告"), Dialogs::Buttons::Ok,
            Dialogs::Icon::Warning);
        return TestPlayResult::NothingToPlay;
    }
    const ScratchFileRemover remover;
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
        dialogs().messageBox(parent,
                             QCoreApplication::translate(
                                 "TestPlay", "ｹﾞｰﾑ本体の実行ﾌｧｲﾙvelta.exeを起動できません。"),
                             QCoreApplication::translate("TestPlay", "ｴﾗｰ"), Dialogs::Buttons::Ok,
                             Dialogs::Icon::Error);
        return TestPlayResult::GameNotStarted;
    }
    // The editor waits for the game, as one program after the other, but
    // keeps drawing itself: its windows take no input until the game ends.
    QEventLoop waiting;
    QObject::connect(&game, &QProcess::finished, &waiting, &QEventLoop::quit);
    std::vector<QPointer<QWidget>> disabled;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isEnabled()) continue;
        window->setEnabled(false);
        disabled.emplace_back(window);
    }
    if (game.state() != QProcess::NotRunning) waiting.exec();
    for (const QPointer<QWidget>& window : disabled)
        if (window) window->setEnabled(true);
    return TestPlayResult::Played;
}
