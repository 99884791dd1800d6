#include "editor_forms.h"

#include "editor_icon.h"
#include "stage_set.h"

EditorForms::EditorForms() {
    makeForms();
}

EditorForms::~EditorForms() {
    dropForms();
}

void EditorForms::remakeForms() {
    dropForms();
    makeForms();
}

void EditorForms::makeForms() {
    main = std::make_unique<TMainForm>();
    about = std::make_unique<TAboutBox>(editorIconPicture(), main.get());
    selector = std::make_unique<TObjectSelector>(main->pictures().mapObjects,
                                                 main->pictures().enemies, main.get());
    properties = std::make_unique<TStageProp>(
        main->document(), [this](int slot) { main->goToSlot(slot); }, main.get());
    main->attachForms(about.get(), selector.get(), properties.get());
}

void EditorForms::dropForms() {
    properties.reset();
    selector.reset();
    about.reset();
    main.reset();
}

void EditorForms::drag(std::initializer_list<QPoint> pixels, Qt::KeyboardModifiers modifiers) {
    const QPoint first = *pixels.begin();
    main->imgCanvasMouseDown(first, Qt::LeftButton, modifiers);
    for (const QPoint& pixel : pixels)
        main->imgCanvasMouseMove(pixel, Qt::LeftButton, modifiers);
    main->imgCanvasMouseUp(*std::prev(pixels.end()), Qt::LeftButton);
}

void EditorForms::click(QPoint pixel, Qt::MouseButton button) {
    main->imgCanvasMouseMove(pixel, Qt::NoButton, Qt::NoModifier);
    main->imgCanvasMouseDown(pixel, button, Qt::NoModifier);
    main->imgCanvasMouseUp(pixel, button);
}

void EditorForms::chooseObjectKind(int kind) {
    selector->setOperation(OPERATION_OBJECT);
    selector->imgMapObjMouseDown(Qt::LeftButton, (kind % 16) * 16 + 3, (kind / 16) * 16 + 5);
}

int EditorForms::objectsInUse(int slot) const {
    int n = 0;
    for (const PlacedRecord& r : stageSet().stageSlots[size_t(slot)].objects)
        n += r.inUse;
    return n;
}

int EditorForms::enemiesInUse(int slot) const {
    int n = 0;
    for (const PlacedRecord& r : stageSet().stageSlots[size_t(slot)].enemies)
        n += r.inUse;
    return n;
}
