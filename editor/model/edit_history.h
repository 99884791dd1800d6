// Undo and redo of the edits of stage slots: canvas edits, whole-stage moves
// and Clear Stage. Each step keeps the slot as it was before and after, so a
// whole drag is one step. The history also keeps the modified flag: canvas
// edits and Clear Stage mark it, stepping back to the saved state clears it,
// and whatever else changes what Save would write (a whole-stage move, the
// properties) counts as modified for as long as it does.
#pragma once

#include "stage_set.h"

#include <QByteArray>
#include <QObject>

#include <functional>
#include <memory>

class QUndoStack;

enum class EditKind {
    Canvas,     // placing, replacing, erasing: marks the set modified
    StageMove,  // the whole stage dragged: leaves the flag as it is
    ClearStage, // the slot cleared, background and music included: marks it
};

class EditHistory : public QObject {
    Q_OBJECT
  public:
    explicit EditHistory(StageSet& set, QObject* parent = nullptr);
    ~EditHistory() override;

    bool modified() const;
    void markModified() { modified_ = true; }
    // The set as it stands is the one in its file (Open, Save, New).
    void markSaved();
    // A new document: no steps to go back to.
    void clear();

    // An edit of one slot: snapshot it before, record it after. An edit that
    // changed nothing leaves no step.
    void begin(int slot);
    bool editing() const { return editingSlot_ != NO_RECORD; }
    void end(EditKind kind);

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();

  signals:
    // A step was undone or redone in this slot.
    void slotRestored(int slot);
    void stateChanged();

  private:
    class Step;
    void stepped(const Step* step);
    bool marksBetweenCleanAndNow() const;

    StageSet& set_;
    std::unique_ptr<QUndoStack> stack_;
    std::unique_ptr<StageSlot> before_;
    int editingSlot_ = NO_RECORD;
    bool modified_ = false;
    // What Save wrote, or would have written of the set as opened.
    QByteArray savedBytes_;
};
