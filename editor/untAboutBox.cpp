#include "untAboutBox.h"

#include "window_placement.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {

// A bold condensed face for the product name, as fontconfig offers one.
QFont productNameFont() {
    QFont font("DejaVu Sans Condensed");
    font.setStretch(QFont::Condensed);
    font.setBold(true);
    font.setPixelSize(27);
    return font;
}

} // namespace

TAboutBox::TAboutBox(const QImage& icon, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(tr("About VeltaEdit"));
    setFixedSize(298, 206);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setGeometry(8, 8, 282, 153);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setGeometry(8, 8, 32, 32);
    ProgramIcon->setPixmap(QPixmap::fromImage(icon));

    ProductName = new QLabel("VeltaEdit", panel);
    ProductName->setFont(productNameFont());
    ProductName->setGeometry(56, 6, 210, 34);

    Version = new QLabel(tr("Version 1.00"), panel);
    Version->setGeometry(58, 42, 200, 16);

    auto* bevel = new QFrame(panel);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(8, 64, 266, 4);

    Comments = new QLabel(tr("　さぁ、どんどんオリジナルステージを作りましょう。"
                             "作ったステージの配布などについては自由ですが、"
                             "詳しくはヘルプをご覧下さい。"),
                          panel);
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->setGeometry(8, 74, 266, 72);

    OKButton = new QPushButton(tr("OK"), this);
    OKButton->setGeometry(111, 170, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}
