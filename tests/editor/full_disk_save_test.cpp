// Saving onto a disk that takes only a few bytes: the file keeps its old
// contents whole, the user sees the error box and the work stays marked.
#include "stage_file_io.h"
#include "support/editor_forms.h"

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class FullDisk : public EditorForms {};

// What the child process saw, one bit each.
enum : int {
    SAVE_REPORTED = 1,
    ERROR_BOX = 2,
    STILL_MODIFIED = 4,
    NAME_KEPT = 8,
};

TEST_F(FullDisk, ASaveThatDoesNotFitLeavesTheOldFileAndSaysSo) {
    const QString path = folder.stageFile("full.vtg");
    stageSet().current().placeObject(0, 224, 24);
    dialogs.chosenFiles = {path};
    main->SaveAs1Click();
    const QByteArray before = fileBytes(path);
    ASSERT_FALSE(before.isEmpty());

    chooseObjectKind(49);
    for (int x = 0; x < 288; x += 16)
        click({x, 240});
    ASSERT_TRUE(main->modified());
    ASSERT_GT(stageFileBytes(stageSet()).size(), before.size() + 64);

    // The limit holds for the whole process, so only a child of its own
    // saves under it.
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(before.size());
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = main->save();
        int seen = 0;
        seen |= saved ? 0 : SAVE_REPORTED;
        seen |= dialogs.boxes.size() == 1 && dialogs.boxes[0].icon == Dialogs::Icon::Error &&
                        dialogs.boxes[0].text.startsWith(path)
                    ? ERROR_BOX
                    : 0;
        seen |= main->modified() ? STILL_MODIFIED : 0;
        seen |= main->fileName() == path ? NAME_KEPT : 0;
        _exit(seen);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    const int seen = WEXITSTATUS(status);
    EXPECT_TRUE(seen & SAVE_REPORTED) << "the save was taken for done";
    EXPECT_TRUE(seen & ERROR_BOX) << "no error box naming the file";
    EXPECT_TRUE(seen & STILL_MODIFIED) << "the work lost its mark";
    EXPECT_TRUE(seen & NAME_KEPT);
    EXPECT_EQ(fileBytes(path), before);
    const std::filesystem::directory_iterator files(folder.game() / "stage");
    EXPECT_EQ(std::distance(begin(files), end(files)), 1) << "no half-written file beside it";

    // With room again the same save goes through.
    EXPECT_TRUE(main->save());
    EXPECT_EQ(fileBytes(path), stageFileBytes(stageSet()));
    EXPECT_FALSE(main->modified());
}

} // namespace
