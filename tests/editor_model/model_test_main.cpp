// The editor's model is tested without a window system: a core application
// only, so that anything that needs widgets or a screen fails to link or run.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
