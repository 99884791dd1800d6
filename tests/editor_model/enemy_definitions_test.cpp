// The enemy definitions as the editor reads them from the game's dat folder,
// without any window.
#include "enemy_definitions.h"

#include "support/editor_folder.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(EnemyDefinitions, AreReadFromKindZeroUpToTheFirstMissingFile) {
    EditorFolder folder;
    const QString dat = folder.gamePath("dat/defs");
    QDir().mkpath(dat);
    writeBytes(dat + "/e00.dat",
               "[GENERAL]\r\nNAME=Shell\r\nSIZE=16,24\r\nYASE=3\r\n[PAT]\r\n00=32,48\r\n");
    writeBytes(dat + "/e01.dat", "[GENERAL]\r\nNAME=Odd\r\nSIZE=x,2\r\n[PAT]\r\n00=0,16\r\n");
    writeBytes(dat + "/e03.dat", "[GENERAL]\r\nNAME=Past the gap\r\nSIZE=8,8\r\n");
    QStringList problems;
    const EnemyDefinitions read = readEnemyDefinitions(dat, problems);
    EXPECT_EQ(read.count(), 2);
    const EnemyDefinition& shell = read.of(0);
    EXPECT_EQ(shell.name, "Shell");
    EXPECT_EQ(shell.width, 16);
    EXPECT_EQ(shell.height, 24);
    EXPECT_EQ(shell.x, 32);
    EXPECT_EQ(shell.y, 48);
    EXPECT_EQ(read.of(1).width, 0) << "a value that is no number reads as 0";
    EXPECT_EQ(read.of(1).y, 16);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].contains("e01.dat")) << problems[0].toStdString();
    EXPECT_EQ(read.of(3).width, 0) << "nothing is read past a missing file";
    EXPECT_EQ(read.of(99).height, 0) << "a kind past the table has an empty entry";
}

TEST(EnemyDefinitions, TheBuiltGameHasItsKinds) {
    EditorFolder folder;
    QStringList problems;
    const EnemyDefinitions read = readEnemyDefinitions(folder.gamePath("dat"), problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    EXPECT_GE(read.count(), 14);
    for (int kind = 0; kind < read.count(); ++kind) {
        SCOPED_TRACE(kind);
        EXPECT_GT(read.of(kind).width, 0);
        EXPECT_GT(read.of(kind).height, 0);
    }
}

} // namespace
