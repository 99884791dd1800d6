// One running copy of the editor per user and display: the first copy holds
// a lock file and listens on a local socket; a later copy on the same display
// asks it to come to the front and ends without a window of its own. A copy
// on another display (a second X server or desktop session) runs by itself.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

// The display this process shows its windows on: Wayland's or X's from the
// environment; empty when it has neither.
QString currentDisplayName();

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // name: the lock and the socket are made from it, the user's id and the
    // display.
    SingleInstance(const QString& name, const QString& display, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True for the first copy, which then listens. False when another copy
    // holds the lock; that copy has been asked to come forward.
    bool claim();

  signals:
    void comeForwardRequested();

  private:
    bool askRunningCopy();

    QString lockPath_;
    QString serverName_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};
