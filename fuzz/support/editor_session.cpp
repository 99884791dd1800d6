#include "support/editor_session.h"

#include "support/scratch_folder.h"

#include <QGuiApplication>
#include <QImage>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>

namespace fuzz {

namespace {

constexpr int VIEWED_RECORDS = 2; // of each list

// A view left edge that puts x in the middle of the canvas, kept within int.
int viewAround(int64_t x) {
    return int(std::clamp<int64_t>(x - CANVAS_WIDTH / 2, std::numeric_limits<int32_t>::min(),
                                   std::numeric_limits<int32_t>::max()));
}

} // namespace

void startEditorApplication() {
    static QGuiApplication* application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt wants a private runtime folder and makes one in /tmp otherwise.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            const std::filesystem::path runtime = freshSubfolder("runtime");
            std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
            qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.string()));
        }
        static int argc = 1;
        static char name[] = "velta-fuzz";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)application;
}

const CanvasPictures& editorPictures() {
    static const CanvasPictures pictures = [] {
        const QString game = QString::fromStdString(builtGameFolder().string());
        return canvasPictures(QImage(game + "/mapobj.bmp"), QImage(game + "/enemy.bmp"),
                              QImage(game + "/pal.bmp"));
    }();
    return pictures;
}

const EnemyDefinitions& builtEnemyDefinitions() {
    static const EnemyDefinitions definitions = [] {
        QStringList problems;
        return readEnemyDefinitions(QString::fromStdString((builtGameFolder() / "dat").string()),
                                    problems);
    }();
    return definitions;
}

void drawSlotViews(const StageSlot& slot, const EnemyDefinitions& definitions) {
    const QRect cursor(0, 0, CELL, CELL);
    drawCanvas(slot, 0, definitions, editorPictures(), cursor);
    auto viewAroundRecords = [&](const auto& records) {
        int viewed = 0;
        for (const PlacedRecord& r : records) {
            if (viewed == VIEWED_RECORDS) return;
            if (!r.inUse) continue;
            drawCanvas(slot, viewAround(r.x), definitions, editorPictures(), cursor);
            ++viewed;
        }
    };
    viewAroundRecords(slot.objects);
    viewAroundRecords(slot.enemies);
}

} // namespace fuzz
