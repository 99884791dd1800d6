// The editor's four forms as the program makes them, on a test's own game
// folder, with the dialogs answered by the test and a fresh stage set.
#pragma once

#include "editor_folder.h"
#include "scripted_dialogs.h"
#include "stage_document.h"
#include "untAboutBox.h"
#include "untMainForm.h"
#include "untObjectSelector.h"
#include "untStageProp.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

class EditorForms : public testing::Test {
  protected:
    EditorForms();
    ~EditorForms() override;

    // The forms made anew, as a new run of the editor on the same folder.
    void remakeForms();

    // A left press, moves through the given canvas pixels and the release.
    void drag(std::initializer_list<QPoint> pixels,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void click(QPoint pixel, Qt::MouseButton button = Qt::LeftButton);
    // Selects a palette kind the way a click on the palette does.
    void chooseObjectKind(int kind);
    int objectsInUse(int slot) const;
    int enemiesInUse(int slot) const;
    // The set as it stands taken as the file on disk, as after opening it.
    void takeAsOpened() { main->document().markSaved(); }
    // The open document's set, changed directly as a test builds its stage.
    StageSet& stageSet() const { return main->document().rawSet(); }

  private:
    void makeForms();
    void dropForms();

  protected:
    EditorFolder folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainForm> main;
    std::unique_ptr<TAboutBox> about;
    std::unique_ptr<TObjectSelector> selector;
    std::unique_ptr<TStageProp> properties;
};
