// The music preview with MIDI files that kept FluidSynth's audio thread busy
// for ever, so that closing the preview never returned: they are not opened.
#include "midi_preview.h"
#include "platform/child_process.h"
#include "support/editor_folder.h"

#include <QDir>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The game's tests keep these inputs; the preview meets the same files.
const fs::path FIXTURES = fs::path(__FILE__).parent_path().parent_path() / "platform" / "fixtures";

const char* const SPINNING_FILES[] = {"missing_track.mid", "empty_track.mid",
                                      "midi-timeout-2a89471eb4"};

QByteArray fixture(const char* name) {
    return fileBytes(QString::fromStdString((FIXTURES / name).string()));
}

// Opens, plays for a moment and closes the file as the properties dialog
// does; the result of the open.
int previewBriefly(const QString& file, const QString& soundFile) {
    MciInterpreter mci(makeFluidSynthPlayer(soundFile));
    const int opened = mci.send("open " + file + " type sequencer alias Midi");
    if (opened == 0) {
        mci.send("play Midi");
        QThread::msleep(300);
    }
    mci.send("stop Midi");
    mci.send("close Midi");
    return opened;
}

TEST(MidiPreviewGuard, FilesThatWouldKeepThePlayerBusyAreNotOpened) {
    for (const char* name : SPINNING_FILES) {
        EditorFolder folder;
        const QString file = folder.gamePath(std::string("bgm/") + name);
        writeBytes(file, fixture(name));
        const QString sound = folder.gamePath("preview.raw");
        const ChildEnd end =
            runInChild(std::chrono::seconds(30), [&] { return previewBriefly(file, sound) != 0; });
        EXPECT_EQ(end, ChildEnd::Passed) << name;
    }
}

TEST(MidiPreviewGuard, TheGamesTunesPassTheCheck) {
    EditorFolder folder;
    const QDir bgm(folder.gamePath("bgm"));
    const QStringList tunes = bgm.entryList({"*.mid"}, QDir::Files);
    ASSERT_FALSE(tunes.isEmpty());
    for (const QString& tune : tunes)
        EXPECT_TRUE(midiFileLoopsSafely(fileBytes(bgm.filePath(tune)))) << tune.toStdString();
    for (const char* name : SPINNING_FILES)
        EXPECT_FALSE(midiFileLoopsSafely(fixture(name))) << name;
    EXPECT_FALSE(midiFileLoopsSafely(QByteArray("MThd")));
    EXPECT_FALSE(midiFileLoopsSafely(QByteArray()));
}

} // namespace
