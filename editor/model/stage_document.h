// The stage file being edited: its stage set, its name, whether it holds
// changes not saved, and the history of its edits. Every window changes the
// set through it and redraws when it says something changed; nothing here
// knows of widgets.
#pragma once

#include "canvas_editing.h"
#include "edit_history.h"
#include "stage_set.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class StageDocument : public QObject {
    Q_OBJECT
  public:
    // The name of a set that was never saved or opened.
    static constexpr const char* UNTITLED = "Untitled";

    explicit StageDocument(QObject* parent = nullptr);
    ~StageDocument() override;

    const StageSet& set() const { return *set_; }
    // The set without the history or the signals, for building a stage as if
    // it had been read from a file (tests, benchmarks).
    StageSet& rawSet() { return *set_; }

    QString fileName() const { return fileName_; }
    bool untitled() const { return fileName_ == UNTITLED; }
    // True whenever Save would write something else than the file holds, and
    // after edits that undo has not taken back.
    bool modified() const;
    // The set as it stands is the one in its file.
    void markSaved();

    // ---- File commands. A failed open leaves everything as it was; a failed
    // save leaves the file as it was and the set modified.
    void startNew();
    bool open(const QString& path, QString& error, QStringList* warnings = nullptr);
    bool save(QString& error); // to fileName(), which must not be untitled
    bool saveAs(const QString& path, QString& error);

    // ---- The view: the slot shown and the stage x at the canvas's left.
    void setCurrentSlot(int slot); // from the left end
    void setViewLeft(int32_t viewLeft);

    // ---- Edits of the current slot. One press of the canvas, from
    // beginEdit to endEdit, is one step of the history.
    void beginEdit();
    bool editing() const { return history_->editing(); }
    void endEdit();
    ApplyResult apply(int32_t stageX, int32_t cellY, const Selection& selection);
    // The whole stage; false when it would leave the numbers' range.
    bool moveStage(int32_t dx, int32_t dy);
    void clearStage();

    // ---- Properties, each one value.
    void setComment(const QString& text);
    void setAuthor(const QString& text);
    void setClearMessage(const QString& text);
    void setStartingLives(uint8_t lives);
    void setDifficulty(uint8_t difficulty);
    void setMusic(int slot, const QString& name);
    void setBackground(int slot, uint8_t background);

    // ---- The history.
    bool canUndo() const { return history_->canUndo(); }
    bool canRedo() const { return history_->canRedo(); }
    void undo() { history_->undo(); }
    void redo() { history_->redo(); }

  signals:
    // Anything changed: contents, name, the modified state or what undo can
    // do.
    void changed();
    // Undo or redo changed this slot.
    void slotRestored(int slot);

  private:
    template <typename Value> void setValue(Value& field, const Value& value);

    std::unique_ptr<StageSet> set_;
    std::unique_ptr<EditHistory> history_;
    QString fileName_ = UNTITLED;
    // The press being edited placed or erased something, not only moved the
    // whole stage.
    bool paintedInEdit_ = false;
};
