// One running copy of the editor per user: the first copy holds a lock file
// and listens on a local socket; a later copy asks it to come to the front
// and ends without a window of its own.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // name: the lock and the socket are made from it and the user's id.
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
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
