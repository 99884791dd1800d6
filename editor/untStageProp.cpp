#include "untStageProp.h"

#include "dialogs.h"
#include "editor_paths.h"
#include "midi_preview.h"
#include "stage_document.h"
#include "window_placement.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

constexpr int COMMENT_LIMIT = 1024;
constexpr int MOST_LIVES = 20;
const char* const PREVIEW_STOPPED = "?";
const char* const PREVIEW_PLAYING = "x";

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QPushButton* addButton(QWidget* parent, const QString& text, const QRect& at,
                       const QString& hint = QString()) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(at);
    button->setAutoDefault(false);
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

QFrame* addBevelLine(QWidget* parent, const QRect& at) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(at);
    return line;
}

} // namespace

TStageProp::TStageProp(StageDocument& document, std::function<void(int)> goToSlot, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      document_(document), goToSlot_(std::move(goToSlot)) {
    setWindowTitle(tr("ﾌﾟﾛﾊﾟﾃｨ"));
    setFixedSize(255, 263);
    FormCreate();
}

void TStageProp::FormCreate() {
    const int left = 8, field = 60, right = 247;
    addLabel(this, tr("BGM:"), left, 12);
    edtBgm = new QLineEdit(this);
    edtBgm->setGeometry(field, 8, 125, 21);
    edtBgm->setToolTip(tr("ｽﾃｰｼﾞで流れるBGMのMIDIを指定します。"));
    Button3 = addButton(this, "...", QRect(189, 8, 27, 21), tr("ﾌｧｲﾙ選択ﾀﾞｲｱﾛｸﾞを表示します。"));
    Button4 = addButton(this, PREVIEW_STOPPED, QRect(220, 8, 27, 21),
                        tr("指定されたBGMﾌｧｲﾙを試聴します。"));

    addLabel(this, tr("背景:"), left, 38);
    cmbBg = new QComboBox(this);
    cmbBg->setGeometry(field, 34, 64, 21);
    cmbBg->addItems({tr("昼"), tr("夜")});
    cmbBg->setToolTip(tr("背景を選択します。"));

    addLabel(this, tr("ｽﾃｰｼﾞ:"), left, 64);
    cmbStage = new QComboBox(this);
    cmbStage->setGeometry(field, 60, 64, 21);
    cmbStage->setToolTip(tr("ﾌﾟﾛﾊﾟﾃｨ編集をするｽﾃｰｼﾞを選択します。"));
    Button5 =
        addButton(this, tr("&Go"), QRect(130, 60, 40, 21), tr("選択されたｽﾃｰｼﾞに移動します。"));

    addBevelLine(this, QRect(left, 94, 80, 2));
    Label9 = addLabel(this, tr("ﾌｧｲﾙ情報"), 98, 88);
    addBevelLine(this, QRect(158, 94, right - 158, 2));

    addLabel(this, tr("難易度:"), left, 110);
    cmbDiff = new QComboBox(this);
    cmbDiff->setGeometry(field, 106, 96, 21);
    cmbDiff->addItems({tr("Very easy"), tr("Easy"), tr("Normal"), tr("Hard"), tr("Very hard")});
    cmbDiff->setToolTip(tr("このﾌｧｲﾙ全体の難易度を選択します。"));

    addLabel(this, tr("残機数:"), left, 136);
    cmbLeft = new QComboBox(this);
    cmbLeft->setGeometry(field, 132, 52, 21);
    for (int lives = 0; lives <= MOST_LIVES; ++lives)
        cmbLeft->addItem(QString::number(lives));
    cmbLeft->setToolTip(tr("最初の、ｲﾀﾝﾍの数です。"));

    addLabel(this, tr("ﾒｯｾｰｼﾞ:"), left, 162);
    edtClearMsg = new QLineEdit(this);
    edtClearMsg->setGeometry(field, 158, right - field, 21);
    edtClearMsg->setToolTip(tr("ｸﾘｱしたときに表示されるﾒｯｾｰｼﾞを入力します。"));

    addLabel(this, tr("作者:"), left, 188);
    edtAuthor = new QLineEdit(this);
    edtAuthor->setGeometry(field, 184, right - field, 21);
    edtAuthor->setToolTip(tr("ｽﾃｰｼﾞｾﾚｸﾄ時に表示される作者名を設定します。"));

    addLabel(this, tr("ｺﾒﾝﾄ:"), left, 214);
    edtComment = new QPlainTextEdit(this);
    edtComment->setGeometry(field, 210, right - field, 21);
    edtComment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edtComment->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edtComment->setToolTip(tr("ｽﾃｰｼﾞｾﾚｸﾄ時に表示されるｺﾒﾝﾄです。"));
    edtComment->installEventFilter(this);
    connect(edtComment, &QPlainTextEdit::textChanged, this, &TStageProp::limitComment);

    Button2 = addButton(this, tr("保存(&S)"), QRect(92, 236, 75, 22));
    Button2->setDefault(true);
    Button1 = addButton(this, tr("閉じる(&C)"), QRect(172, 236, 75, 22));

    connect(cmbStage, &QComboBox::activated, this, &TStageProp::cmbStageChange);
    connect(cmbLeft, &QComboBox::activated, this, &TStageProp::cmbLeftChange);
    connect(cmbDiff, &QComboBox::activated, this, &TStageProp::cmbDiffChange);
    connect(Button1, &QPushButton::clicked, this, &TStageProp::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TStageProp::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TStageProp::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TStageProp::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TStageProp::Button5Click);
    playing_ = false;
}

void TStageProp::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
    FormShow();
}

void TStageProp::FormShow() {
    const StageSet& set = document_.set();
    cmbStage->clear();
    for (int slot = 0; slot < STAGE_SLOTS; ++slot)
        cmbStage->addItem(slotLabel(set, slot));
    shownSlot_ = -1;
    edtComment->setPlainText(set.comment);
    // A long comment leaves the view at its end: show its start.
    edtComment->moveCursor(QTextCursor::Start);
    edtAuthor->setText(set.author);
    edtAuthor->setCursorPosition(0);
    edtClearMsg->setText(set.clearMessage);
    edtClearMsg->setCursorPosition(0);
    cmbStage->setCurrentIndex(set.currentSlot);
    showSlot(set.currentSlot);
    cmbLeft->setCurrentIndex(std::min<int>(set.startingLives, MOST_LIVES));
    cmbDiff->setCurrentIndex(std::min<int>(set.difficulty, cmbDiff->count() - 1));
    shown_.comment = edtComment->toPlainText();
    shown_.author = edtAuthor->text();
    shown_.clearMessage = edtClearMsg->text();
    shown_.lives = cmbLeft->currentIndex();
    shown_.difficulty = cmbDiff->currentIndex();
}

void TStageProp::cmbStageChange() {
    const int chosen = cmbStage->currentIndex();
    if (shownSlot_ >= 0) {
        cmbStage->setCurrentIndex(shownSlot_);
        store();
        cmbStage->setCurrentIndex(chosen);
    }
    showSlot(chosen);
}

void TStageProp::showSlot(int chosen) {
    shownSlot_ = chosen;
    if (chosen < 0) return;
    const StageSlot& slot = document_.set().stageSlots[size_t(chosen)];
    edtBgm->setText(slot.musicName);
    edtBgm->setCursorPosition(0);
    cmbBg->setCurrentIndex(std::min<int>(slot.background, cmbBg->count() - 1));
    shown_.music = edtBgm->text();
    shown_.background = cmbBg->currentIndex();
}

void TStageProp::store() {
    StageDocument& document = document_;
    // Each field only when it differs from what it showed.
    const auto changed = [](auto& shown, const auto& now) {
        if (shown == now) return false;
        shown = now;
        return true;
    };
    if (const int shown = cmbStage->currentIndex(); shown >= 0) {
        if (changed(shown_.music, edtBgm->text())) document.setMusic(shown, shown_.music);
        if (changed(shown_.background, cmbBg->currentIndex()))
            document.setBackground(shown, uint8_t(shown_.background));
    }
    if (changed(shown_.comment, edtComment->toPlainText())) document.setComment(shown_.comment);
    if (changed(shown_.author, edtAuthor->text())) document.setAuthor(shown_.author);
    if (changed(shown_.clearMessage, edtClearMsg->text()))
        document.setClearMessage(shown_.clearMessage);
    if (changed(shown_.lives, cmbLeft->currentIndex()))
        document.setStartingLives(uint8_t(shown_.lives));
    if (changed(shown_.difficulty, cmbDiff->currentIndex()))
        document.setDifficulty(uint8_t(shown_.difficulty));
}

void TStageProp::Button2Click() {
    store();
}

void TStageProp::Button1Click() {
    store();
    accept();
}

void TStageProp::Button3Click() {
    const int shown = std::max(0, cmbStage->currentIndex());
    const QString chosen = dialogs().openFileName(
        this, gamePath("bgm"), document_.set().stageSlots[size_t(shown)].musicName,
        tr("MIDI Files(*.mid);;All Files(*.*)"));
    if (!chosen.isEmpty()) edtBgm->setText(QFileInfo(chosen).fileName());
}

void TStageProp::Button4Click() {
    if (Button4->text() != PREVIEW_STOPPED) {
        stopPreview();
    } else {
        // An empty name leaves the bgm folder itself, which is no file.
        const QString path = gamePath("bgm") + "/" + edtBgm->text();
        if (!QFileInfo(path).isFile()) {
            dialogs().messageBox(this, tr("指定されたﾌｧｲﾙは存在しません。"), tr("ｴﾗｰ"),
                                 Dialogs::Buttons::Ok, Dialogs::Icon::Error);
            return;
        }
        if (playing_) stopPreview();
        mci().send("open " + path + " type sequencer alias Midi");
        mci().send("play Midi");
        playing_ = true;
    }
    Button4->setText(Button4->text() == PREVIEW_STOPPED ? PREVIEW_PLAYING : PREVIEW_STOPPED);
}

void TStageProp::stopPreview() {
    mci().send("stop Midi");
    mci().send("close Midi");
    playing_ = false;
}

void TStageProp::Button5Click() {
    if (goToSlot_) goToSlot_(cmbStage->currentIndex());
}

// A pick in these lists is stored at once, even of the value shown.
void TStageProp::cmbLeftChange() {
    shown_.lives = cmbLeft->currentIndex();
    document_.setStartingLives(uint8_t(shown_.lives));
}

void TStageProp::cmbDiffChange() {
    shown_.difficulty = cmbDiff->currentIndex();
    document_.setDifficulty(uint8_t(shown_.difficulty));
}

void TStageProp::FormClose() {
    if (!playing_) return;
    stopPreview();
    Button4->setText(PREVIEW_STOPPED);
}

void TStageProp::done(int result) {
    FormClose();
    QDialog::done(result);
}

bool TStageProp::eventFilter(QObject* watched, QEvent* event) {
    // The comment is one line of the file: Enter stores, as the default
    // button does, instead of starting a new line.
    if (watched == edtComment && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Button2->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TStageProp::limitComment() {
    const QString text = edtComment->toPlainText();
    if (text.size() <= COMMENT_LIMIT) return;
    QSignalBlocker quiet(edtComment);
    edtComment->setPlainText(text.left(COMMENT_LIMIT));
    edtComment->moveCursor(QTextCursor::End);
}
