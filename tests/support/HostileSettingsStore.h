#pragma once

#include "core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// Puts something hostile where the settings store lives, for one test, and puts the store back
// afterwards. The store's folder is moved aside whole, so its values come back unchanged.
class HostileSettingsStore
{
public:
    enum class TKind
    {
        Fifo,                // a named pipe in place of the file: reading it waits for a writer
        Folder,              // a folder in place of the file
        FifoLink,            // a symbolic link to a named pipe
        FileInPlaceOfFolder, // a regular file where the store's folder belongs
        ReadOnlyFolder,      // the store readable, its folder read-only (no effect on root)
    };

    explicit HostileSettingsStore(TKind kind)
    {
        const QString folder = Folder();
        mHadFolder = QFileInfo::exists(folder);
        if (mHadFolder)
            QDir().rename(folder, Saved());
        const QByteArray file = QFile::encodeName(SettingsStore::FilePath());
        switch (kind) {
        case TKind::Fifo:
            QDir().mkpath(folder);
            ::mkfifo(file.constData(), 0600);
            break;
        case TKind::Folder:
            QDir().mkpath(SettingsStore::FilePath());
            break;
        case TKind::FifoLink:
            QDir().mkpath(folder);
            ::mkfifo(QFile::encodeName(folder + QStringLiteral("/pipe")).constData(), 0600);
            QFile::link(folder + QStringLiteral("/pipe"), SettingsStore::FilePath());
            break;
        case TKind::FileInPlaceOfFolder: {
            QFile blocker(folder);
            blocker.open(QIODevice::WriteOnly);
            break;
        }
        case TKind::ReadOnlyFolder:
            QDir().mkpath(folder);
            if (mHadFolder)
                QFile::copy(Saved() + QStringLiteral("/") + QFileInfo(SettingsStore::FilePath()).fileName(),
                            SettingsStore::FilePath());
            ::chmod(QFile::encodeName(folder).constData(), 0555);
            break;
        }
    }

    ~HostileSettingsStore()
    {
        const QString folder = Folder();
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        if (QFileInfo(folder).isDir())
            QDir(folder).removeRecursively();
        else
            QFile::remove(folder);
        if (mHadFolder)
            QDir().rename(Saved(), folder);
    }

    HostileSettingsStore(const HostileSettingsStore &) = delete;
    HostileSettingsStore &operator=(const HostileSettingsStore &) = delete;

    // A read-only folder does not stop an administrator.
    static bool Blocks(TKind kind) { return kind != TKind::ReadOnlyFolder || ::geteuid() != 0; }

    // Runs `work` and waits for it at most `seconds`. A run still waiting on the pipe is let go
    // (a writer opens the pipe and closes it at once, which ends the reader's wait) and counts
    // as hanging.
    bool FinishesWithin(const std::function<void()> &work, int seconds = 10) const
    {
        std::packaged_task<void()> task(work);
        std::future<void> done = task.get_future();
        std::thread runner(std::move(task));
        const bool finished = done.wait_for(std::chrono::seconds(seconds)) == std::future_status::ready;
        while (!finished && done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            const int fd =
                ::open(QFile::encodeName(SettingsStore::FilePath()).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
        runner.join();
        done.get();
        return finished;
    }

private:
    static QString Folder() { return QFileInfo(SettingsStore::FilePath()).absolutePath(); }
    static QString Saved() { return Folder() + QStringLiteral(".saved"); }

    bool mHadFolder = false;
};
