#include "single_instance.h"

#include "support/fixture_files.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// Runs the event loop until the condition holds or two seconds pass.
template <typename Condition> bool waitFor(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

TEST(SingleInstance, ALaterCopyOnTheSameDisplayAsksTheFirstToComeForward) {
    const QString name = "VeltaEditTest-" + QString::number(QCoreApplication::applicationPid());
    SingleInstance first(name, ":7");
    ASSERT_TRUE(first.claim());
    int requests = 0;
    QObject::connect(&first, &SingleInstance::comeForwardRequested, [&] { ++requests; });

    SingleInstance second(name, ":7");
    EXPECT_FALSE(second.claim());
    EXPECT_TRUE(waitFor([&] { return requests == 1; }));

    // A copy on another display is a copy of its own, and asks nobody.
    SingleInstance elsewhere(name, ":8");
    EXPECT_TRUE(elsewhere.claim());
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    EXPECT_EQ(requests, 1);
}

TEST(SingleInstance, TheProgramsSecondCopyEndsAtOnceWhileTheFirstRuns) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    const QString runtime = QString::fromStdString(makeTempFolder("runtime").string());
    environment.insert("XDG_RUNTIME_DIR", runtime);
    environment.insert("DISPLAY", ":99");
    environment.remove("WAYLAND_DISPLAY");
    const QString program = VELTA_DIST_DIR "/editor/VeltaEdit";
    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted());
    QProcess second;
    second.setProcessEnvironment(environment);
    // The first copy holds its lock once it has started.
    const QString lock = runtime + "/VeltaEdit-" + QString::number(getuid()) + "-_99.lock";
    ASSERT_TRUE(waitFor([&] { return QFile::exists(lock); }));
    second.start(program, {});
    EXPECT_TRUE(second.waitForFinished(5000)) << "the second copy ended by itself";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

} // namespace
