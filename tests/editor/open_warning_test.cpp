#include "support/editor_forms.h"

#include <QComboBox>

namespace {

using OpenWarningBox = EditorForms;

// A block that ends after its lists but before the file's "end;" line: what
// a cut-off copy or download leaves.
const QByteArray CUT_OFF = "c\r\na\r\nm\r\n4\r\n0\r\nstage_begin\r\nd.mid\r\n0\r\n"
                           "16\r\n32\r\n1\r\n-1\r\n-1\r\n";

TEST_F(OpenWarningBox, AppearsOnceAfterOpeningAFileThatSavingWouldChange) {
    const QString path = folder.stageFile("cut.vtg");
    writeBytes(path, CUT_OFF);
    dialogs.chosenFiles = {path};
    main->Open1Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    const ShownBox& box = dialogs.boxes[0];
    EXPECT_EQ(box.caption, "警告");
    EXPECT_EQ(box.icon, Dialogs::Icon::Warning);
    EXPECT_EQ(box.buttons, Dialogs::Buttons::Ok);
    EXPECT_TRUE(box.text.contains("end;")) << box.text.toStdString();
    // The file is open as read, as without the box.
    EXPECT_EQ(main->fileName(), path);
    EXPECT_FALSE(main->modified());
    EXPECT_EQ(main->slotList()->itemText(0), "1 - 1*");
    EXPECT_NE(stageSet().stageSlots[0].findObject(16, 32), NO_RECORD);

    // The same file whole opens without a word.
    const QString whole = folder.stageFile("whole.vtg");
    writeBytes(whole, CUT_OFF + "end;");
    dialogs.chosenFiles = {whole};
    main->Open1Click();
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(main->fileName(), whole);
}

} // namespace
