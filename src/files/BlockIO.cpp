#include "files/BlockIO.h"

#include "core/TextIds.h"
#include "core/UiTextManager.h"

using namespace Qt::StringLiterals;

TSystemInfo::TSystemInfo()
    : line1{UiText(TextId::RunDate), UiText(TextId::RunNumber), UiText(TextId::KitBatchNumber),
            UiText(TextId::Operator)},
      line2{UiText(TextId::Intercept),
            UiText(TextId::Slope),
            UiText(TextId::CorrelationCoefficient),
            u"Std Count"_s,
            u"Std Size"_s,
            u"Raw Data Rows"_s,
            u"Raw Data Cols"_s,
            u"Result Row Count"_s,
            u"Result Col Count"_s,
            u"IdPrefix"_s}
{
}

namespace {

qsizetype FindUserInfoLine(const QStringList &lines, const QString &name)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const qsizetype equals = line.indexOf(u'=');
        const QStringView key = equals < 0 ? QStringView(line) : QStringView(line).left(equals);
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

QString TSystemInfo::UserInfoValue(const QString &name) const
{
    const qsizetype index = FindUserInfoLine(mUserInfo, name);
    if (index < 0)
        return QString();
    const QString &line = mUserInfo.at(index);
    const qsizetype equals = line.indexOf(u'=');
    return equals < 0 ? QString() : line.mid(equals + 1);
}

void TSystemInfo::SetUserInfoValue(const QString &name, const QString &value)
{
    const QString line = name + u'=' + value;
    const qsizetype index = FindUserInfoLine(mUserInfo, name);
    if (index < 0)
        mUserInfo.append(line);
    else
        mUserInfo[index] = line;
}
