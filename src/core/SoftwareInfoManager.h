#pragma once

#include <QString>
#include <QtGlobal>

// The program's own version numbers and product identifier, read once from the version
// resource (lines "FileVersion=a.b.c.d" and "GTIN=...").
class TSoftwareInfoManager
{
public:
    static QString DefaultResourcePath(); // ":/version/VERSIONINFO"

    explicit TSoftwareInfoManager(QString resourcePath = DefaultResourcePath());

    // Raises EResNotFound when the resource or its file version is missing or unreadable.
    void Initialize();

    QString GetVersNumberStr() const { return mVersNumberStr; } // "5.3.0"
    QString GetBuildNo() const;                                 // "Build 08"
    QString GetGtin() const { return mGtin; }
    QString GetMajorVersionStr() const { return QString::number(mMajorVersion); }
    QString GetMinorVersionStr() const { return QString::number(mMinorVersion); }
    QString GetReleaseStr() const { return QString::number(mRelease); }
    quint16 GetBuild() const { return mBuild; }

private:
    [[noreturn]] void RaiseNoVersionInfo();

    QString mResourcePath;
    quint16 mMajorVersion = 0;
    quint16 mMinorVersion = 0;
    quint16 mRelease = 0;
    quint16 mBuild = 0;
    QString mGtin;
    QString mVersNumberStr;
};

// Created and initialised on first use; a failed initialisation is retried by the next call.
TSoftwareInfoManager &GetSoftwareInfoManager();
