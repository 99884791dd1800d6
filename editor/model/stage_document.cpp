#include "stage_document.h"

#include "stage_file_io.h"

#include <algorithm>

StageDocument::StageDocument(QObject* parent)
    : QObject(parent), set_(std::make_unique<StageSet>()),
      history_(std::make_unique<EditHistory>(*set_)) {
    set_->reset();
    history_->markSaved();
    connect(history_.get(), &EditHistory::stateChanged, this, &StageDocument::changed);
    connect(history_.get(), &EditHistory::slotRestored, this, &StageDocument::slotRestored);
}

StageDocument::~StageDocument() = default;

bool StageDocument::modified() const {
    return history_->modified();
}

void StageDocument::markSaved() {
    history_->markSaved();
}

void StageDocument::startNew() {
    endEdit();
    fileName_ = UNTITLED;
    set_->reset();
    history_->clear();
    history_->markSaved();
}

bool StageDocument::open(const QString& path, QString& error, QStringList* warnings) {
    endEdit();
    // The file is read beside the set, so that a broken one changes nothing.
    if (!readStageFile(path, *set_, error, warnings)) return false;
    fileName_ = path;
    set_->currentSlot = 0;
    set_->viewLeft = 0;
    history_->clear();
    history_->markSaved();
    return true;
}

bool StageDocument::save(QString& error) {
    return saveAs(fileName_, error);
}

bool StageDocument::saveAs(const QString& path, QString& error) {
    endEdit();
    if (!writeStageFile(path, *set_, error)) return false;
    fileName_ = path;
    history_->markSaved();
    return true;
}

void StageDocument::setCurrentSlot(int slot) {
    endEdit();
    set_->currentSlot = uint8_t(std::clamp(slot, 0, STAGE_SLOTS - 1));
    set_->viewLeft = 0;
    emit changed();
}

void StageDocument::setViewLeft(int32_t viewLeft) {
    set_->viewLeft = std::clamp(viewLeft, 0, MAX_VIEW_LEFT);
    emit changed();
}

void StageDocument::beginEdit() {
    endEdit(); // a release the canvas never saw
    paintedInEdit_ = false;
    history_->begin(set_->currentSlot);
}

void StageDocument::endEdit() {
    if (!history_->editing()) return;
    history_->end(paintedInEdit_ ? EditKind::Canvas : EditKind::StageMove);
    paintedInEdit_ = false;
}

ApplyResult StageDocument::apply(int32_t stageX, int32_t cellY, const Selection& selection) {
    paintedInEdit_ = true;
    const ApplyResult result = applyOperation(set_->current(), stageX, cellY, selection);
    if (result == ApplyResult::Applied) {
        history_->markModified();
        emit changed();
    }
    return result;
}

bool StageDocument::moveStage(int32_t dx, int32_t dy) {
    if (!set_->current().moveBy(dx, dy)) return false;
    emit changed();
    return true;
}

void StageDocument::clearStage() {
    endEdit();
    history_->begin(set_->currentSlot);
    set_->current().clear();
    history_->end(EditKind::ClearStage);
    history_->markModified();
    emit changed();
}

template <typename Value> void StageDocument::setValue(Value& field, const Value& value) {
    if (field == value) return;
    field = value;
    emit changed();
}

void StageDocument::setComment(const QString& text) {
    setValue(set_->comment, text);
}

void StageDocument::setAuthor(const QString& text) {
    setValue(set_->author, text);
}

void StageDocument::setClearMessage(const QString& text) {
    setValue(set_->clearMessage, text);
}

void StageDocument::setStartingLives(uint8_t lives) {
    setValue(set_->startingLives, lives);
}

void StageDocument::setDifficulty(uint8_t difficulty) {
    setValue(set_->difficulty, difficulty);
}

void StageDocument::setMusic(int slot, const QString& name) {
    if (slot < 0 || slot >= STAGE_SLOTS) return;
    setValue(set_->stageSlots[size_t(slot)].musicName, name);
}

void StageDocument::setBackground(int slot, uint8_t background) {
    if (slot < 0 || slot >= STAGE_SLOTS) return;
    setValue(set_->stageSlots[size_t(slot)].background, background);
}
