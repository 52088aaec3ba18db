#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class TArchive;
class TRunSession;

// Records the calculated runs Save File writes into the configured archive. The archive is
// opened at the first such save, not at start-up, and kept open while the settings name the
// same one; a failure closes it, so that the next save opens it afresh.
class TSavedRunRecorder : public QObject
{
    Q_OBJECT

public:
    explicit TSavedRunRecorder(QObject *parent = nullptr);
    ~TSavedRunRecorder() override;

    // The session's calculation with the bytes its run file was given. Empty when recorded,
    // replaced or unchanged; else why not, naming the archive.
    QString Record(const TRunSession &session, const QByteArray &runFileBytes);

Q_SIGNALS:
    // A save added a record or replaced one: what the archive shows has changed.
    void archiveChanged();

private:
    std::unique_ptr<TArchive> mArchive;
    QString mLocation; // as configured when mArchive was opened
};
