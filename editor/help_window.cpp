#include "help_window.h"

#include "dialogs.h"
#include "editor_paths.h"
#include "window_placement.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(tr("VeltaEditﾍﾙﾌﾟ"));
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(560, 480);
}

bool HelpWindow::showContext(int context) {
    const QString path = gamePath("velta.html");
    if (!QFileInfo(path).isFile()) {
        dialogs().messageBox(parentWidget(), tr("ﾍﾙﾌﾟﾌｧｲﾙ %1 が見つかりません。").arg(path),
                             tr("ｴﾗｰ"), Dialogs::Buttons::Ok, Dialogs::Icon::Error);
        return false;
    }
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(QString("context-%1").arg(context));
    browser_->setSource(url);
    browser_->scrollToAnchor(url.fragment());
    if (!isVisible()) {
        show();
        centreOnScreen(this);
    }
    raise();
    activateWindow();
    return true;
}
