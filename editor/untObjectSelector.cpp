#include "untObjectSelector.h"

#include "canvas_drawing.h"
#include "enemy_definitions.h"
#include "explanations.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>

#include <array>

PalettePicture::PalettePicture(QWidget* parent) : QWidget(parent) {}

void PalettePicture::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PalettePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, picture_);
}

void PalettePicture::mousePressEvent(QMouseEvent* event) {
    emit pressed(event->button(), int(event->position().x()), int(event->position().y()));
}

TObjectSelector::TObjectSelector(const QImage& mapObjects, const QImage& enemies, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mapObjects_(mapObjects), enemies_(enemies) {
    setWindowTitle(tr("ｵﾌﾞｼﾞｪｸﾄ"));
    FormCreate();
}

void TObjectSelector::FormCreate() {
    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 256, 36);
    rdgOperation = new QButtonGroup(this);
    const QString items[] = {tr("ﾏｯﾌﾟｵﾌﾞｼﾞｪｸﾄ"), tr("敵"), tr("消しｺﾞﾑ")};
    // Two columns inside the bevel: items 0 and 1 on the first row.
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(items[i], this);
        button->setGeometry(8 + 1 + 6 + (i % 2) * 125, 8 - 10 + 13 + (i / 2) * 16, 120, 16);
        button->setFocusPolicy(Qt::NoFocus);
        rdgOperation->addButton(button, i);
    }
    rdgOperation->button(OPERATION_OBJECT)->setChecked(true);
    connect(rdgOperation, &QButtonGroup::idClicked, this, [this] { rdgOperationClick(); });

    imgMapObj = new PalettePicture(this);
    imgMapObj->setGeometry(8, 48, 256, 256);
    connect(imgMapObj, &PalettePicture::pressed, this, &TObjectSelector::imgMapObjMouseDown);

    lstEnemy = new QListWidget(this);
    lstEnemy->setGeometry(8, 48, 128, 256);
    lstEnemy->hide();
    const EnemyDefinitions& definitions = enemyDefinitions();
    for (int kind = 0; kind < DEFINITION_SLOTS && definitions.entries[size_t(kind)].inUse; ++kind)
        lstEnemy->addItem(definitions.entries[size_t(kind)].name);
    if (lstEnemy->count() > 0) lstEnemy->setCurrentRow(0);
    connect(lstEnemy, &QListWidget::itemSelectionChanged, this, [this] { lstEnemyClick(); });

    imgEnemyView = new PalettePicture(this);
    imgEnemyView->setGeometry(8 + 128 + 3, 48, 128, 128);
    imgEnemyView->hide();

    const int width = 272;
    lblStatusBar = new QLabel(this);
    lblStatusBar->setGeometry(2, 314, width - 8, 16);
    Bevel2 = new QFrame(this);
    Bevel2->setFrameShape(QFrame::Panel);
    Bevel2->setFrameShadow(QFrame::Sunken);
    Bevel2->setGeometry(lblStatusBar->geometry().adjusted(-2, -2, 2, 2));
    Bevel2->lower();
    setFixedSize(width, 304 + 8 + 16 + 3 + 4);
    redraw();
}

int TObjectSelector::operation() const {
    return rdgOperation->checkedId();
}

int TObjectSelector::selectedObjectKind() const {
    return selectedCellX_ / CELL + 16 * (selectedCellY_ / CELL);
}

int TObjectSelector::selectedEnemyKind() const {
    return lstEnemy->currentRow();
}

int TObjectSelector::enemyCount() const {
    return lstEnemy->count();
}

QString TObjectSelector::statusText() const {
    return lblStatusBar->text();
}

void TObjectSelector::giveFocusBack() {
    if (mainWindow_) mainWindow_->activateWindow();
}

void TObjectSelector::setOperation(int n) {
    if (QAbstractButton* button = rdgOperation->button(n)) button->setChecked(true);
    rdgOperationClick();
    giveFocusBack();
}

void TObjectSelector::selectObjectKind(int kind) {
    selectedCellX_ = CELL * (kind % 16);
    selectedCellY_ = CELL * (kind / 16);
    redraw();
}

void TObjectSelector::selectEnemyKind(int kind) {
    lstEnemy->setCurrentRow(kind);
    giveFocusBack();
    redraw();
}

void TObjectSelector::rdgOperationClick() {
    const int n = operation();
    imgMapObj->setVisible(n == OPERATION_OBJECT);
    lstEnemy->setVisible(n == OPERATION_ENEMY);
    imgEnemyView->setVisible(n == OPERATION_ENEMY);
    redraw();
    emit selectionChanged();
}

void TObjectSelector::imgMapObjMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton) return;
    const int cellX = std::clamp(x, 0, 255) / CELL * CELL;
    const int cellY = std::clamp(y, 0, 255) / CELL * CELL;
    if (cellX == selectedCellX_ && cellY == selectedCellY_) return;
    selectedCellX_ = cellX;
    selectedCellY_ = cellY;
    redraw();
    emit selectionChanged();
}

void TObjectSelector::lstEnemyClick() {
    redraw();
    emit selectionChanged();
}

void TObjectSelector::redraw() {
    // Indexed by Operation: the eraser draws nothing and keeps the status line.
    using Draw = void (TObjectSelector::*)();
    static constexpr std::array<Draw, 3> DRAW = {&TObjectSelector::drawPalette,
                                                 &TObjectSelector::drawEnemyPreview, nullptr};
    const int n = operation();
    if (n >= 0 && n < int(DRAW.size()) && DRAW[size_t(n)]) (this->*DRAW[size_t(n)])();
}

void TObjectSelector::drawPalette() {
    QImage palette(256, 256, QImage::Format_RGB32);
    palette.fill(Qt::black);
    {
        QPainter painter(&palette);
        painter.drawImage(0, 0, mapObjects_);
    }
    const QRect cell(selectedCellX_, selectedCellY_, CELL, CELL);
    mergeRectangle(palette, cell, qRgb(0, 0, 255), 0, true, false);
    QPainter painter(&palette);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(cell.adjusted(0, 0, -1, -1));
    painter.drawRect(cell.adjusted(2, 2, -3, -3));
    painter.setPen(Qt::white);
    painter.drawRect(cell.adjusted(1, 1, -2, -2));
    painter.end();
    imgMapObj->setPicture(palette);
    showStatus(objectExplanation(selectedObjectKind()));
}

void TObjectSelector::drawEnemyPreview() {
    QImage preview(128, 128, QImage::Format_RGB32);
    preview.fill(Qt::black);
    const int kind = selectedEnemyKind();
    const EnemyDefinition& d = enemyDefinitions().of(kind);
    if (d.width > 0 && d.height > 0) {
        QPainter painter(&preview);
        drawClipped(painter, preview.size(), (128 - int64_t(d.width)) / 2,
                    (128 - int64_t(d.height)) / 2, enemies_, d.x, d.y, d.width, d.height);
    }
    imgEnemyView->setPicture(preview);
    if (kind >= 0) showStatus(enemyExplanation(kind));
}

void TObjectSelector::showStatus(const QString& text) {
    lblStatusBar->setText(text);
    // The line is narrow: the whole explanation shows when the pointer rests on it.
    lblStatusBar->setToolTip(text);
}

void TObjectSelector::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit shownOrHidden(true);
}

void TObjectSelector::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit shownOrHidden(false);
}
