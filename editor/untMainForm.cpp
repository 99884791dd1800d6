#include "untMainForm.h"

#include "canvas_editing.h"
#include "dialogs.h"
#include "editor_icon.h"
#include "editor_paths.h"
#include "enemy_definitions.h"
#include "explanations.h"
#include "help_window.h"
#include "stage_canvas.h"
#include "stage_document.h"
#include "stage_file_io.h"
#include "stage_set.h"
#include "test_play.h"
#include "untAboutBox.h"
#include "untObjectSelector.h"
#include "untStageProp.h"
#include "window_placement.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMoveEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

namespace {

constexpr int HELP_CONTEXT = 23;
constexpr int CANVAS_LEFT = 8;
constexpr int CANVAS_TOP = 8;
constexpr int SEEK_BUTTON_WIDTH = 28;

void showError(QWidget* parent, const QString& text) {
    dialogs().messageBox(parent, text, "VeltaEdit", Dialogs::Buttons::Ok, Dialogs::Icon::Error);
}

QString stageFilter() {
    return TMainForm::tr("Velta Stage Files(*.vtg);;All Files(*.*)");
}

QPushButton* seekButton(QWidget* parent, const char* caption, const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

bool insideCanvas(QPoint pixel) {
    return pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < CANVAS_WIDTH &&
           pixel.y() < CANVAS_HEIGHT;
}

} // namespace

TMainForm::TMainForm()
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      document_(std::make_unique<StageDocument>()) {
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    imgCanvas = new StageCanvas(client);
    Label1 = new QLabel(tr("ｽﾃｰｼﾞ:"), client);
    cmbStage = new QComboBox(client);
    cmbStage->setToolTip(tr("編集するステージを選択します。＊印は編集されているという意味です。"));
    cmbStage->setFocusPolicy(Qt::NoFocus);
    cmbStage->setMaxVisibleItems(STAGE_SLOTS);
    btnSeekToStart = seekButton(client, "|<", tr("ステージの先頭部分に飛びます。"));
    btnSeekToCenter = seekButton(client, "><", tr("ステージの中央部分に飛びます。"));
    btnSeekToEnd = seekButton(client, ">|", tr("ステージの最後に飛びます。"));
    // Where the view is, the cell under the pointer and what lies there.
    statusText_ = new QLabel(this);
    statusText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(statusText_, 1);
    statusBar()->setSizeGripEnabled(false);
    buildMenu();

    connect(imgCanvas, &StageCanvas::mouseDown, this, &TMainForm::imgCanvasMouseDown);
    connect(imgCanvas, &StageCanvas::mouseMove, this, &TMainForm::imgCanvasMouseMove);
    connect(imgCanvas, &StageCanvas::mouseUp, this, &TMainForm::imgCanvasMouseUp);
    connect(cmbStage, &QComboBox::activated, this, &TMainForm::cmbStageChange);
    connect(btnSeekToStart, &QPushButton::clicked, this, &TMainForm::btnSeekToStartClick);
    connect(btnSeekToCenter, &QPushButton::clicked, this, &TMainForm::btnSeekToCenterClick);
    connect(btnSeekToEnd, &QPushButton::clicked, this, &TMainForm::btnSeekToEndClick);
    connect(document_.get(), &StageDocument::slotRestored, this, &TMainForm::showSlotRestored);
    connect(document_.get(), &StageDocument::changed, this, &TMainForm::updateEditActions);
    connect(document_.get(), &StageDocument::changed, this, &TMainForm::updateCaption);
    // The canvas follows every change of the document, whichever window made
    // it; only the cursor and the view options are drawn from here.
    connect(document_.get(), &StageDocument::changed, this, &TMainForm::redraw);

    rebuildSlotList();
    cmbStage->setCurrentIndex(0);
    layOut();

    openFolder_ = stageFolder();
    updateCaption();
    loadPictures();
    readDefinitions();
}

void TMainForm::buildMenu() {
    QMenu* File1 = menuBar()->addMenu(tr("ﾌｧｲﾙ(&F)"));
    File1->addAction(tr("新規作成(&N)"), QKeySequence::New, this, &TMainForm::New1Click);
    File1->addAction(tr("開く(&O)..."), QKeySequence::Open, this, &TMainForm::Open1Click);
    File1->addSeparator();
    File1->addAction(tr("保存(&S)"), QKeySequence::Save, this, &TMainForm::Save1Click);
    File1->addAction(tr("名前を付けて保存(&A)..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                     this, &TMainForm::SaveAs1Click);
    File1->addSeparator();
    File1->addAction(tr("終了(&X)"), this, &TMainForm::Exit1Click);

    QMenu* edit = menuBar()->addMenu(tr("編集(&E)"));
    undoAction_ =
        edit->addAction(tr("元に戻す(&U)"), QKeySequence::Undo, this, &TMainForm::undoClick);
    redoAction_ = edit->addAction(tr("やり直し(&R)"), this, &TMainForm::redoClick);
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});

    QMenu* Stage = menuBar()->addMenu(tr("ｽﾃｰｼﾞ(&S)"));
    Stage->addAction(tr("ﾌﾟﾛﾊﾟﾃｨ(&P)..."), QKeySequence(Qt::Key_F4), this,
                     &TMainForm::StageEnvClick);
    Stage->addSeparator();
    Stage->addAction(tr("消去(&C)"), this, &TMainForm::Clear1Click);
    Stage->addSeparator();
    Stage->addAction(tr("ﾃｽﾄﾌﾟﾚｲ(&T)"), QKeySequence(Qt::Key_F5), this, &TMainForm::estPlay1Click);

    QMenu* view = menuBar()->addMenu(tr("表示(&V)"));
    auto* zooms = new QActionGroup(this);
    for (int zoom = 1; zoom <= 3; ++zoom) {
        QAction* action =
            view->addAction(tr("%1倍(&%1)").arg(zoom), QKeySequence(Qt::CTRL | (Qt::Key_0 + zoom)),
                            this, [this, zoom] { setZoom(zoom); });
        action->setCheckable(true);
        action->setChecked(zoom == 1);
        zooms->addAction(action);
        zoomActions_[size_t(zoom - 1)] = action;
    }

    view->addSeparator();
    // The selector's title bar may have a close box: this brings it back.
    selectorAction_ = view->addAction(tr("ｵﾌﾞｼﾞｪｸﾄ(&O)"), this, [this](bool shown) {
        if (selector_) selector_->setVisible(shown);
    });
    selectorAction_->setCheckable(true);
    selectorAction_->setChecked(true);
    // Objects the game does not draw (hidden blocks, enemy barriers) and
    // enemies without a picture, shown as frames with their kind number.
    framesAction_ = view->addAction(tr("見えないｵﾌﾞｼﾞｪｸﾄの枠(&F)"), this, [this] { redraw(); });
    framesAction_->setCheckable(true);
    framesAction_->setChecked(true);

    // Keys that move the view; they belong to the window, not to a menu.
    const struct {
        QKeySequence key;
        void (TMainForm::*move)();
    } viewKeys[] = {
        {QKeySequence(Qt::Key_Left), &TMainForm::scrollCellLeft},
        {QKeySequence(Qt::Key_Right), &TMainForm::scrollCellRight},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), &TMainForm::scrollScreenLeft},
        {QKeySequence(Qt::SHIFT | Qt::Key_Right), &TMainForm::scrollScreenRight},
        {QKeySequence(Qt::Key_Home), &TMainForm::btnSeekToStartClick},
        {QKeySequence(Qt::Key_End), &TMainForm::btnSeekToEndClick},
    };
    for (const auto& [key, move] : viewKeys) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, move);
        addAction(action);
    }

    QMenu* Help1 = menuBar()->addMenu(tr("ﾍﾙﾌﾟ(&H)"));
    Help1->addAction(tr("VeltaEditﾍﾙﾌﾟ(&T)..."), this, &TMainForm::Help2Click);
    Help1->addSeparator();
    Help1->addAction(tr("ﾊﾞｰｼﾞｮﾝ情報(&A)"), this, &TMainForm::About1Click);
    updateEditActions();
}

void TMainForm::layOut() {
    const int zoom = imgCanvas->zoom();
    imgCanvas->move(CANVAS_LEFT, CANVAS_TOP);
    const int canvasBottom = CANVAS_TOP + CANVAS_HEIGHT * zoom;
    const int labelTop = canvasBottom + 8;
    Label1->move(CANVAS_LEFT, labelTop);
    Label1->adjustSize();
    cmbStage->setGeometry(CANVAS_LEFT + 40, labelTop - 4, 60, 20);
    int left = cmbStage->geometry().right() + 1 + 10;
    for (QPushButton* button : {btnSeekToStart, btnSeekToCenter, btnSeekToEnd}) {
        button->setGeometry(left, cmbStage->y() + 1, SEEK_BUTTON_WIDTH, 20);
        left += SEEK_BUTTON_WIDTH + 10;
    }
    centralWidget()->setFixedSize(CANVAS_LEFT + CANVAS_WIDTH * zoom + 8, labelTop + 28);
    setFixedSize(windowSizeAt(zoom));
}

QSize TMainForm::windowSizeAt(int zoom) const {
    const int labelTop = CANVAS_TOP + CANVAS_HEIGHT * zoom + 8;
    return {CANVAS_LEFT + CANVAS_WIDTH * zoom + 8,
            labelTop + 28 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height()};
}

void TMainForm::loadPictures() {
    QStringList missing;
    QImage mapObjects, enemies;
    for (auto [picture, name] :
         {std::pair{&mapObjects, "mapobj.bmp"}, std::pair{&enemies, "enemy.bmp"}}) {
        const QString path = gamePath(name);
        if (!picture->load(path)) missing << path;
    }
    // The sky's colour only: without pal.bmp the game's sky is black too.
    pictures_ = canvasPictures(mapObjects, enemies, QImage(gamePath("pal.bmp")));
    // Without its pictures the editor still opens, edits and saves stage
    // files; it draws frames for what it cannot show.
    if (!missing.isEmpty()) showError(this, tr("ﾌｧｲﾙを開けません:") + "\n" + missing.join("\n"));
    setWindowIcon(editorIcon());
}

void TMainForm::readDefinitions() {
    QStringList problems;
    enemyDefinitions() = readEnemyDefinitions(gamePath("dat"), problems);
    if (!problems.isEmpty())
        showError(this, tr("敵の定義ﾌｧｲﾙに整数でない値があります:") + "\n" + problems.join("\n"));
}

void TMainForm::attachForms(TAboutBox* about, TObjectSelector* selector, TStageProp* properties) {
    about_ = about;
    selector_ = selector;
    properties_ = properties;
    selector_->setMainWindow(this);
    connect(selector_, &TObjectSelector::selectionChanged, this, &TMainForm::redraw);
    connect(selector_, &TObjectSelector::shownOrHidden, selectorAction_, &QAction::setChecked);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    offerZoomsThatFit();
    if (shownOnce_) return;
    shownOnce_ = true;
    if (windowHandle())
        connect(windowHandle(), &QWindow::screenChanged, this, &TMainForm::offerZoomsThatFit);
    FormShow();
}

void TMainForm::offerZoomsThatFit() {
    // A window taller or wider than the screen would hide the stage list and
    // the canvas's lower part: such zooms are not offered (the first always is).
    const QRect free = screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    for (int zoom = 2; zoom <= 3; ++zoom) {
        const QSize needed = windowSizeAt(zoom) + frame;
        zoomActions_[size_t(zoom - 1)]->setEnabled(needed.width() <= free.width() &&
                                                   needed.height() <= free.height());
    }
}

void TMainForm::FormShow() {
    if (selector_) {
        selector_->show();
        placeSelector();
        // The window manager frames and places the window after it is shown:
        // place the selector again once the frame is known (moveEvent
        // follows later moves).
        QTimer::singleShot(100, selector_, [this] { placeSelector(); });
    }
    redraw();
}

void TMainForm::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    placeSelector();
}

void TMainForm::placeSelector() {
    if (selector_ && selector_->isVisible() && shownOnce_) placeBeside(selector_, this);
}

void TMainForm::updateCaption() {
    const QString name = document_->untitled() ? fileName() : QFileInfo(fileName()).fileName();
    setWindowTitle(QString("VeltaEdit for Tarvelon - %1%2").arg(name, modified() ? " *" : ""));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    endEdit();
    // While a test play runs the editor waits for the game: closing it then
    // would pull the stage out from under the game.
    if (testPlaying_) {
        event->ignore();
        return;
    }
    if (closeQuestion())
        event->accept();
    else
        event->ignore();
}

void TMainForm::comeForward() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

bool TMainForm::modified() const {
    return document_->modified();
}

QString TMainForm::fileName() const {
    return document_->fileName();
}

const QImage& TMainForm::canvasPicture() const {
    return imgCanvas->picture();
}

// ---- The file commands ----

bool TMainForm::closeQuestion() {
    if (!modified()) return true;
    const QString text = tr("\"%1\"\n\rに変更を保存しますか?").arg(fileName());
    switch (dialogs().messageBox(this, text, tr("確認"), Dialogs::Buttons::YesNoCancel,
                                 Dialogs::Icon::Question)) {
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Yes:
        return save();
    default:
        return false;
    }
}

bool TMainForm::save() {
    if (!leaveOutRecordsAsked()) return false;
    // A shipped stage file of an installed game is changed as the player's
    // own copy, which the game then offers in its place.
    if (!document_->untitled() && insideInstalledGame(fileName())) {
        const QString chosen = dialogs().saveFileName(
            this, stageFolder() + "/" + QFileInfo(fileName()).fileName(), stageFilter());
        return !chosen.isEmpty() && writeTo(chosen);
    }
    if (!document_->untitled()) return writeTo(fileName());
    const QString chosen = dialogs().saveFileName(this, stageFolder(), stageFilter());
    return !chosen.isEmpty() && writeTo(chosen);
}

bool TMainForm::leaveOutRecordsAsked() {
    const int leftOut = recordsLeftOut(document_->set());
    if (leftOut == 0) return true;
    // A whole-stage move can take records past the stage's top or left edge,
    // where the file cannot keep them.
    const QString text = tr("保存できる範囲 (x が0以上、y が0～255) の外にある"
                            "ｵﾌﾞｼﾞｪｸﾄと敵が%1個あります。それらは保存されません。"
                            "保存しますか?")
                             .arg(leftOut);
    return dialogs().messageBox(this, text, tr("確認"), Dialogs::Buttons::YesNoDefaultNo,
                                Dialogs::Icon::Warning) == Dialogs::Answer::Yes;
}

bool TMainForm::writeTo(const QString& path) {
    // Also where the player could write it (as root): the installed files
    // belong to the install.
    if (insideInstalledGame(path)) {
        showError(this, path + "\n" + tr("ｲﾝｽﾄｰﾙされたｹﾞｰﾑのﾌｫﾙﾀﾞには保存できません。"));
        return false;
    }
    QString error;
    if (!document_->saveAs(path, error)) {
        showError(this, path + "\n" + error);
        return false;
    }
    return true;
}

void TMainForm::New1Click() {
    endEdit();
    if (!closeQuestion()) return;
    openFolder_ = stageFolder();
    document_->startNew();
    selectSlot(0);
    rebuildSlotList();
}

void TMainForm::Open1Click() {
    endEdit();
    // Opening replaces the set: unsaved work is asked about first.
    if (!closeQuestion()) return;
    const QString chosen = dialogs().openFileName(this, openFolder_, QString(), stageFilter());
    if (chosen.isEmpty()) return;
    QString error;
    QStringList warnings;
    // A file that cannot be read leaves the open set, its name and its flag
    // as they were, so that nothing is lost and Save cannot overwrite the
    // file with part of it.
    if (!document_->open(chosen, error, &warnings)) {
        showError(this, chosen + "\n" + error);
        return;
    }
    openFolder_ = QFileInfo(chosen).absolutePath();
    selectSlot(0);
    rebuildSlotList();
    // What saving would not give back as the file has it is said before any
    // work on it.
    if (!warnings.isEmpty())
        dialogs().messageBox(this, chosen + "\n\n" + warnings.join("\n"), tr("警告"),
                             Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
}

void TMainForm::Save1Click() {
    endEdit();
    save();
}

void TMainForm::SaveAs1Click() {
    endEdit();
    if (!leaveOutRecordsAsked()) return;
    // The dialog starts at the file being edited.
    const QString start = document_->untitled() ? stageFolder() : fileName();
    const QString chosen = dialogs().saveFileName(this, start, stageFilter());
    if (!chosen.isEmpty()) writeTo(chosen);
}

void TMainForm::Exit1Click() {
    close();
}

// ---- The Stage and Help menus ----

void TMainForm::StageEnvClick() {
    endEdit();
    if (properties_) properties_->exec();
}

void TMainForm::Clear1Click() {
    endEdit();
    if (document_->set().current().empty()) return;
    if (dialogs().messageBox(this,
                             tr("このｺﾏﾝﾄﾞを実行するとこのｽﾃｰｼﾞのﾃﾞｰﾀは全て消去されます。"
                                "よろしいですか？"),
                             tr("確認"), Dialogs::Buttons::YesNo,
                             Dialogs::Icon::Warning) != Dialogs::Answer::Yes)
        return;
    document_->clearStage();
    rebuildSlotList();
}

void TMainForm::estPlay1Click() {
    endEdit();
    testPlaying_ = true;
    runTestPlay(document_->set(), this);
    testPlaying_ = false;
    redraw();
}

void TMainForm::Help2Click() {
    if (!help_) help_ = new HelpWindow(this);
    help_->showContext(HELP_CONTEXT);
}

void TMainForm::About1Click() {
    if (about_) about_->exec();
}

void TMainForm::undoClick() {
    document_->undo();
}

void TMainForm::redoClick() {
    document_->redo();
}

void TMainForm::updateEditActions() {
    undoAction_->setEnabled(document_->canUndo());
    redoAction_->setEnabled(document_->canRedo());
}

void TMainForm::showSlotRestored(int slot) {
    // Undo shows the stage it changes.
    if (slot != document_->set().currentSlot) {
        document_->setCurrentSlot(slot);
        selectSlot(slot);
    }
    rebuildSlotList();
}

void TMainForm::setZoom(int zoom) {
    imgCanvas->setZoom(zoom);
    layOut();
    placeSelector();
}

// ---- The slot list and the seek buttons ----

void TMainForm::rebuildSlotList() {
    const int selected = cmbStage->currentIndex();
    QSignalBlocker quiet(cmbStage);
    cmbStage->clear();
    for (int slot = 0; slot < STAGE_SLOTS; ++slot)
        cmbStage->addItem(slotLabel(document_->set(), slot));
    cmbStage->setCurrentIndex(selected);
}

void TMainForm::selectSlot(int slot) {
    QSignalBlocker quiet(cmbStage);
    cmbStage->setCurrentIndex(slot);
}

void TMainForm::cmbStageChange() {
    endEdit();
    document_->setCurrentSlot(cmbStage->currentIndex());
}

void TMainForm::goToSlot(int slot) {
    if (slot < 0 || slot >= STAGE_SLOTS) return;
    selectSlot(slot);
    cmbStageChange();
}

void TMainForm::btnSeekToStartClick() {
    document_->setViewLeft(0);
}

void TMainForm::btnSeekToCenterClick() {
    if (const auto left = seekToCenterViewLeft(document_->set().current())) {
        document_->setViewLeft(*left);
    }
}

void TMainForm::btnSeekToEndClick() {
    if (const auto left = seekToEndViewLeft(document_->set().current())) {
        document_->setViewLeft(*left);
    }
}

void TMainForm::scrollBy(int pixels) {
    document_->setViewLeft(pannedViewLeft(document_->set().viewLeft, pixels));
}

void TMainForm::scrollCellLeft() {
    scrollBy(-CELL);
}

void TMainForm::scrollCellRight() {
    scrollBy(CELL);
}

void TMainForm::scrollScreenLeft() {
    scrollBy(-CANVAS_WIDTH);
}

void TMainForm::scrollScreenRight() {
    scrollBy(CANVAS_WIDTH);
}

// ---- The canvas ----

Selection TMainForm::selection() const {
    Selection s;
    if (!selector_) return s;
    s.operation = selector_->operation();
    s.objectKind = selector_->selectedObjectKind();
    s.enemyKind = selector_->selectedEnemyKind();
    s.enemyHeight = enemyDefinitions().of(s.enemyKind).height;
    s.definitions = &enemyDefinitions();
    return s;
}

void TMainForm::redraw() {
    const Selection s = selection();
    QSize cursorSize(CELL, CELL);
    if (s.operation == OPERATION_ENEMY) {
        // No more of a huge picture than the canvas shows, so that the
        // cursor's right and bottom edges fit in an int.
        const EnemyDefinition& d = enemyDefinitions().of(s.enemyKind);
        cursorSize =
            QSize(std::clamp(d.width, 0, CANVAS_WIDTH), std::clamp(d.height, 0, CANVAS_HEIGHT));
    }
    const StageSet& set = document_->set();
    CanvasOptions options;
    options.outlineUnseen = framesAction_->isChecked();
    imgCanvas->setPicture(drawCanvas(set.current(), set.viewLeft, enemyDefinitions(), pictures_,
                                     QRect(cursor_, cursorSize), options));
    updateStatus();
}

QString TMainForm::statusText() const {
    return statusText_->text();
}

void TMainForm::updateStatus() {
    const StageSet& set = document_->set();
    QString text = tr("表示 x=%1   ｶｰｿﾙ (%2, %3)")
                       .arg(set.viewLeft)
                       .arg(int64_t(set.viewLeft) + cursor_.x())
                       .arg(cursor_.y());
    // exp.dat is read for a kind only when the pointer meets another one.
    std::optional<int32_t> stageX = stageXAt(cursor_.x(), set.viewLeft);
    const int objectSlot = stageX ? set.current().findObject(*stageX, cursor_.y()) : NO_RECORD;
    const int enemySlot =
        stageX ? enemyAtCell(set.current(), *stageX, cursor_.y(), selection()) : NO_RECORD;
    const int objectKind =
        objectSlot == NO_RECORD ? -1 : set.current().objects[size_t(objectSlot)].kind;
    const int enemyKind =
        enemySlot == NO_RECORD ? -1 : set.current().enemies[size_t(enemySlot)].kind;
    if (objectKind != statusObjectKind_) {
        statusObjectKind_ = objectKind;
        statusObject_ =
            objectKind < 0 ? QString() : tr("ｵﾌﾞｼﾞｪｸﾄ %1").arg(objectExplanation(objectKind));
    }
    if (enemyKind != statusEnemyKind_) {
        statusEnemyKind_ = enemyKind;
        statusEnemy_ = enemyKind < 0 ? QString() : tr("敵 %1").arg(enemyExplanation(enemyKind));
    }
    for (const QString& thing : {statusObject_, statusEnemy_})
        if (!thing.isEmpty()) text += "   " + thing;
    statusText_->setText(text);
    statusText_->setToolTip(text);
}

bool TMainForm::moveCursorTo(QPoint pixel) {
    const QPoint cell = cellOf(pixel);
    if (cell == cursor_) return false;
    cursor_ = cell;
    return true;
}

bool TMainForm::applyAt(QPoint cell) {
    const std::optional<int32_t> stageX = stageXAt(cell.x(), document_->set().viewLeft);
    if (!stageX) return false;
    switch (document_->apply(*stageX, cell.y(), selection())) {
    case ApplyResult::Applied:
        return true;
    case ApplyResult::KindNotPlaced:
        // The box takes the button's release: the press ends here, or the
        // history would wait for it and refuse to undo.
        endEdit();
        dialogs().messageBox(this, tr("そのｵﾌﾞｼﾞｪｸﾄは配置できません。"), tr("警告"),
                             Dialogs::Buttons::Ok, Dialogs::Icon::Error);
        return false;
    case ApplyResult::NoEnemy:
    case ApplyResult::OutOfRange:
        return false;
    }
    return false;
}

void TMainForm::pick(QPoint cell) {
    if (!selector_) return;
    const StageSet& set = document_->set();
    const std::optional<int32_t> stageX = stageXAt(cell.x(), set.viewLeft);
    const Pick found = stageX ? pickAt(set.current(), *stageX, cell.y(), selection()) : Pick{};
    selector_->setOperation(found.operation);
    if (found.operation == OPERATION_OBJECT) selector_->selectObjectKind(found.kind);
    if (found.operation == OPERATION_ENEMY) selector_->selectEnemyKind(found.kind);
}

void TMainForm::endEdit() {
    document_->endEdit();
}

void TMainForm::imgCanvasMouseDown(QPoint pixel, Qt::MouseButton button,
                                   Qt::KeyboardModifiers modifiers) {
    endEdit(); // a release the canvas never saw (a message box took it)
    bool due = moveCursorTo(pixel);
    const bool alt = modifiers & Qt::AltModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (button == Qt::LeftButton && !alt) {
        // One press to release is one step of the history.
        document_->beginEdit();
        if (!shift && applyAt(cursor_)) due = false; // the document's change drew it
    } else if (button == Qt::RightButton) {
        pick(cursor_);
    }
    if (due) redraw();
    rebuildSlotList();
}

void TMainForm::imgCanvasMouseMove(QPoint pixel, Qt::MouseButtons buttons,
                                   Qt::KeyboardModifiers modifiers) {
    const QPoint old = cursor_;
    bool due = moveCursorTo(pixel);
    const bool left = buttons & Qt::LeftButton;
    const bool alt = modifiers & Qt::AltModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    // Only a new cell does anything; a change of the document draws the
    // canvas, the cursor's move alone is drawn here.
    if (!due) return;
    if (left && !alt && !shift) {
        // Painting goes cell by cell, and only where the canvas shows the
        // stage: a cell beyond its edges would hold a record the file drops.
        if (insideCanvas(pixel) && document_->editing() && applyAt(cursor_)) return;
    } else if ((left && alt && !shift) || (buttons & Qt::MiddleButton)) {
        document_->setViewLeft(pannedViewLeft(document_->set().viewLeft, old.x() - cursor_.x()));
        return;
    } else if (left && shift && !alt) {
        if (document_->editing() &&
            document_->moveStage(cursor_.x() - old.x(), cursor_.y() - old.y()))
            return;
    }
    redraw();
}

void TMainForm::imgCanvasMouseUp(QPoint, Qt::MouseButton button) {
    if (button == Qt::LeftButton) endEdit();
    rebuildSlotList();
}
