// VeltaEdit, the stage editor: one copy per user and display, four forms, one stage set.
#include "editor_icon.h"
#include "editor_language.h"
#include "editor_paths.h"
#include "editor_settings.h"
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

// The language chosen on the command line or remembered from the last run;
// what goes wrong is said on the standard error output, and the editor runs on.
void chooseTexts() {
    const LanguageChoice choice =
        chooseLanguage(QCoreApplication::arguments().mid(1), rememberedLanguage());
    if (!choice.problem.isEmpty())
        std::fprintf(stderr, "VeltaEdit: %s\n", qPrintable(choice.problem));
    if (QString problem; choice.chosenNow && !rememberLanguage(choice.language, problem))
        std::fprintf(stderr, "VeltaEdit: the language is not remembered: %s\n",
                     qPrintable(problem));
    if (QString problem; !useLanguage(choice.language, problem))
        std::fprintf(stderr, "VeltaEdit: %s\n", qPrintable(problem));
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("VeltaEdit");
    // Desktops match the windows to VeltaEdit.desktop, its name and its icon.
    QGuiApplication::setDesktopFileName("VeltaEdit");

    // Remembered even when a running copy comes forward instead: the choice
    // holds from the next start.
    chooseTexts();
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
