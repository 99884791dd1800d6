// VeltaEdit, the stage editor: one copy per user and display, four forms, one stage set.
#include "editor_icon.h"
#include "editor_paths.h"
#include "single_instance.h"
#include "untAboutBox.h"
#include "untMainForm.h"
#include "untObjectSelector.h"
#include "untStageProp.h"

#include <QApplication>
#include <QFont>

#include <cstdio>

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
    // Desktops match the windows to VeltaEdit.desktop, its name and its icon.
    QGuiApplication::setDesktopFileName("VeltaEdit");

    SingleInstance instance("VeltaEdit", currentDisplayName());
    if (!instance.claim()) return 0; // the running copy comes forward instead

    QApplication::setFont(formFont());
    QApplication::setWindowIcon(editorIcon());
    // An installed editor keeps the player's stage files in their own folder;
    // without it, saving asks for another place.
    if (QString problem; !prepareStageFolder(problem))
        std::fprintf(stderr, "VeltaEdit: %s\n", qPrintable(problem));
    TMainForm mainForm;
    TAboutBox aboutBox(editorIconPicture(), &mainForm);
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
