// VeltaEdit, the stage editor: one copy per user and display, four forms, one stage set.
#include "editor_icon.h"
#include "single_instance.h"
#include "untAboutBox.h"
#include "untMainForm.h"
#include "untObjectSelector.h"
#include "untStageProp.h"

#include <QApplication>
#include <QFont>

namespace {

// The forms' Japanese Gothic face at 12 pixels.
QFont formFont() {
    QFont font("IPAPGothic");
    font.setPixelSize(12);
    return font;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("VeltaEdit");

    SingleInstance instance("VeltaEdit", currentDisplayName());
    if (!instance.claim()) return 0; // the running copy comes forward instead

    QApplication::setFont(formFont());
    TMainForm mainForm;
    TAboutBox aboutBox(editorIconPicture(mainForm.pictures().mapObjects), &mainForm);
    TObjectSelector objectSelector(mainForm.pictures().mapObjects, mainForm.pictures().enemies,
                                   &mainForm);
    TStageProp stageProp(
        mainForm.document(), [&mainForm](int slot) { mainForm.goToSlot(slot); }, &mainForm);
    mainForm.attachForms(&aboutBox, &objectSelector, &stageProp);
    QObject::connect(&instance, &SingleInstance::comeForwardRequested, &mainForm,
                     &TMainForm::comeForward);

    mainForm.show();
    return QApplication::exec();
}
