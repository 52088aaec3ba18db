#include "SoftwareInfoManager.h"

#include "Exceptions.h"
#include "Tool.h"
#include "UiTextManager.h"

#include <QFile>
#include <QStringList>

#include <array>
#include <optional>

namespace {

// "key=value" lines; the key compared without letter case.
std::optional<QString> ValueOf(const QStringList &lines, QStringView key)
{
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && QStringView(line).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

// Four dot-separated 16-bit numbers, nothing else.
std::optional<std::array<quint16, 4>> ParseFileVersion(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<quint16, 4> numbers{};
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts.at(i);
        if (part.isEmpty() || part.size() > 5)
            return std::nullopt;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        }
        const uint value = part.toUInt();
        if (value > 0xFFFF)
            return std::nullopt;
        numbers[static_cast<size_t>(i)] = static_cast<quint16>(value);
    }
    return numbers;
}

} // namespace

QString TSoftwareInfoManager::DefaultResourcePath()
{
    return QStringLiteral(":/version/VERSIONINFO");
}

TSoftwareInfoManager::TSoftwareInfoManager(QString resourcePath) : mResourcePath(std::move(resourcePath)) {}

void TSoftwareInfoManager::Initialize()
{
    EnsureCoreResources();
    QFile file(mResourcePath);
    if (!file.open(QIODevice::ReadOnly))
        RaiseNoVersionInfo();
    // The resource is generated as plain ASCII; anything else simply fails to parse.
    const QString text = QString::fromUtf8(file.readAll());
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n')))
        lines << (line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line);

    const std::optional<QString> versionText = ValueOf(lines, u"FileVersion");
    const auto version = versionText ? ParseFileVersion(*versionText) : std::nullopt;
    if (!version)
        RaiseNoVersionInfo();
    mMajorVersion = (*version)[0];
    mMinorVersion = (*version)[1];
    mRelease = (*version)[2];
    mBuild = (*version)[3];
    mGtin = ValueOf(lines, u"GTIN").value_or(QString());
    mVersNumberStr =
        GetMajorVersionStr() + QLatin1Char('.') + GetMinorVersionStr() + QLatin1Char('.') + GetReleaseStr();
}

QString TSoftwareInfoManager::GetBuildNo() const
{
    return QStringLiteral("Build ") + QStringLiteral("%1").arg(mBuild, 2, 10, QLatin1Char('0'));
}

void TSoftwareInfoManager::RaiseNoVersionInfo()
{
    mMajorVersion = mMinorVersion = mRelease = mBuild = 0;
    mVersNumberStr.clear();
    mGtin.clear();
    throw EResNotFound(
        BuildExceptionMessage(QStringLiteral("ResourceVersionInfoManager.Initialize"), QString(),
                              QStringLiteral("No version information found in resource file.")));
}

TSoftwareInfoManager &GetSoftwareInfoManager()
{
    static TSoftwareInfoManager manager = [] {
        TSoftwareInfoManager created;
        created.Initialize();
        return created;
    }();
    return manager;
}
