#include "edit_history.h"

#include "stage_file_io.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace {

// Each step keeps two copies of a slot (about 26 kB).
constexpr int UNDO_LIMIT = 500;

bool sameRecords(const StageSlot& a, const StageSlot& b) {
    return a.objects == b.objects && a.enemies == b.enemies;
}

} // namespace

class EditHistory::Step : public QUndoCommand {
  public:
    Step(EditHistory& history, int slot, EditKind kind, std::unique_ptr<StageSlot> before)
        : history_(history), slot_(slot), kind_(kind), before_(std::move(before)),
          after_(std::make_unique<StageSlot>(history.set_.stageSlots[size_t(slot)])) {}

    bool marks() const { return kind_ != EditKind::StageMove; }

    void undo() override { restore(*before_); }
    void redo() override {
        // Pushing a step: the edit is already in the set.
        if (firstRedo_) {
            firstRedo_ = false;
            return;
        }
        restore(*after_);
    }

  private:
    void restore(const StageSlot& from) {
        StageSlot& slot = history_.set_.stageSlots[size_t(slot_)];
        slot.objects = from.objects;
        slot.enemies = from.enemies;
        // Only Clear Stage touches the slot's music and background; other
        // steps leave what the properties dialog set since.
        if (kind_ == EditKind::ClearStage) {
            slot.background = from.background;
            slot.musicName = from.musicName;
        }
        emit history_.slotRestored(slot_);
    }

    EditHistory& history_;
    int slot_;
    EditKind kind_;
    std::unique_ptr<StageSlot> before_;
    std::unique_ptr<StageSlot> after_;
    bool firstRedo_ = true;
};

EditHistory::EditHistory(StageSet& set, QObject* parent)
    : QObject(parent), set_(set), stack_(std::make_unique<QUndoStack>()) {
    stack_->setUndoLimit(UNDO_LIMIT);
}

EditHistory::~EditHistory() = default;

bool EditHistory::modified() const {
    return modified_ || stageFileBytes(set_) != savedBytes_;
}

void EditHistory::markSaved() {
    stack_->setClean();
    modified_ = false;
    savedBytes_ = stageFileBytes(set_);
    emit stateChanged();
}

void EditHistory::clear() {
    stack_->clear();
    editingSlot_ = NO_RECORD;
    before_.reset();
    emit stateChanged();
}

void EditHistory::begin(int slot) {
    editingSlot_ = slot;
    before_ = std::make_unique<StageSlot>(set_.stageSlots[size_t(slot)]);
    emit stateChanged(); // nothing can be undone until the edit ends
}

void EditHistory::end(EditKind kind) {
    if (!editing()) return;
    const int slot = editingSlot_;
    editingSlot_ = NO_RECORD;
    const StageSlot& now = set_.stageSlots[size_t(slot)];
    const bool changed = kind == EditKind::ClearStage ? !(sameRecords(*before_, now) &&
                                                          before_->background == now.background &&
                                                          before_->musicName == now.musicName)
                                                      : !sameRecords(*before_, now);
    if (!changed) {
        before_.reset();
        emit stateChanged();
        return;
    }
    stack_->push(new Step(*this, slot, kind, std::move(before_)));
    emit stateChanged();
}

bool EditHistory::canUndo() const {
    return !editing() && stack_->canUndo();
}

bool EditHistory::canRedo() const {
    return !editing() && stack_->canRedo();
}

void EditHistory::undo() {
    if (!canUndo()) return;
    const auto* step = static_cast<const Step*>(stack_->command(stack_->index() - 1));
    stack_->undo();
    stepped(step);
}

void EditHistory::redo() {
    if (!canRedo()) return;
    const auto* step = static_cast<const Step*>(stack_->command(stack_->index()));
    stack_->redo();
    stepped(step);
}

void EditHistory::stepped(const Step* step) {
    if (stack_->cleanIndex() >= 0)
        modified_ = marksBetweenCleanAndNow();
    else if (step->marks())
        modified_ = true; // the saved state is out of reach
    emit stateChanged();
}

bool EditHistory::marksBetweenCleanAndNow() const {
    const int from = std::min(stack_->cleanIndex(), stack_->index());
    const int to = std::max(stack_->cleanIndex(), stack_->index());
    for (int i = from; i < to; ++i)
        if (static_cast<const Step*>(stack_->command(i))->marks()) return true;
    return false;
}
