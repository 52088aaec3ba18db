#include "SavedRunRecorder.h"

#include "archive/Archive.h"
#include "files/RunSession.h"

TSavedRunRecorder::TSavedRunRecorder(QObject *parent) : QObject(parent) {}

TSavedRunRecorder::~TSavedRunRecorder() = default;

QString TSavedRunRecorder::Record(const TRunSession &session, const QByteArray &runFileBytes)
{
    const QString location = ConfiguredArchiveLocation();
    if (!mArchive || location != mLocation) {
        mArchive = std::make_unique<TArchive>();
        mLocation = location;
        if (QString reason = mArchive->Open(location); !reason.isEmpty()) {
            mArchive.reset();
            return reason;
        }
    }
    const TArchiveResult result = mArchive->Record(TArchiveRecord::FromRun(session, runFileBytes));
    switch (result.Status) {
    case TArchiveResult::Recorded:
    case TArchiveResult::Replaced:
        Q_EMIT archiveChanged();
        break;
    case TArchiveResult::Unchanged:
        break;
    case TArchiveResult::Refused:
        // A server gone away or a file moved: the next save connects again.
        mArchive.reset();
        break;
    }
    return result.Reason;
}
