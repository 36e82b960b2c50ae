#include "UpdateInfo.h"

#include "MXml.h"
#include "MainServices.h"
#include "RegistryStore.h"

#include <QStringList>
#include <QStringTokenizer>
#include <QUrl>

namespace UpdateInfo {

QString ReadServerAddress(ISettingsStore& store)
{
    const TaggedValue value =
        store.Read(QString::fromLatin1(SettingsKey), QString::fromLatin1(ServerValueName));
    if (!value.IsText())
        return {};
    QString address = value.TextValue().trimmed();
    while (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    return address;
}

QString SettingsKeyInFile()
{
    RuvPlatform::RegistryHive hive{};
    QString subkey;
    if (!RuvPlatform::SplitRegistryPath(QString::fromLatin1(SettingsKey), hive, subkey))
        return QString::fromLatin1(SettingsKey);
    return RuvPlatform::RegistryHiveName(hive) + QLatin1Char('/') + subkey.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString InfoAddress(const QString& server)
{
    return server + QLatin1String(InfoPath);
}

bool IsWebAddress(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
           && !url.host().isEmpty();
}

MCommon::VersionList SplitBuild(const QString& text)
{
    MCommon::VersionList parts;
    for (const QStringView part : QStringView(text).tokenize(u'.')) {
        if (parts.size() > VersionParts)
            break;
        bool ok = false;
        const int32_t n = part.trimmed().toInt(&ok);
        parts.push_back(ok ? n : 0);
    }
    return parts;
}

QString JoinVersion(const MCommon::VersionList& version)
{
    QStringList parts;
    for (int32_t n : version)
        parts << MCommon::FormatInt(n);
    return parts.join(QLatin1Char('.'));
}

int32_t fCompareVersions(const MCommon::VersionList& a, const MCommon::VersionList& b)
{
    if (a.empty() || b.empty() || a.size() != b.size())
        return NotComparable;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return a[i] > b[i] ? 1 : -1;
    }
    return 0;
}

bool Parse(const QByteArray& body, const MCommon::VersionList& current, Info& info)
{
    info = Info{};
    info.current = current;
    if (body.isEmpty())
        return false;
    pugi::xml_document document;
    if (!MXml::XmlLoadDocument(document, body))
        return false;
    const pugi::xml_node root = document.document_element();
    const pugi::xml_node last = root ? root.child("LastVersion") : pugi::xml_node();
    if (!last)
        return false;
    const QDateTime date = MCommon::IsoToDate(MXml::XmlGetAttribute(last, QStringLiteral("date")));
    if (!date.isValid() || date == MCommon::ZeroDate())
        return false;
    const MCommon::VersionList build = SplitBuild(MXml::XmlGetAttribute(last, QStringLiteral("build")));
    int64_t sum = 0;
    for (int32_t n : build)
        sum += n;
    if (sum <= 0)
        return false;
    info.last = build;
    info.date = date;
    info.url = MXml::XmlGetAttribute(last, QStringLiteral("url"));
    info.comparison = fCompareVersions(info.last, info.current);
    info.newVersionAvailable = info.comparison == 1;
    return true;
}

QString Message(bool success, const Info& info, const Texts& texts)
{
    if (!success)
        return texts.failure;
    const QString crlf = QStringLiteral("\r\n");
    QString message = texts.yourVersion + QStringLiteral(" : ") + JoinVersion(info.current) + crlf
                      + texts.lastVersion + QStringLiteral(" : ") + JoinVersion(info.last);
    // Versions of different lengths were not compared: no verdict, rather
    // than an "up to date" that nothing supports.
    if (info.comparison != NotComparable)
        message += crlf + crlf + (info.newVersionAvailable ? texts.newVersion : texts.upToDate);
    return message;
}

}  // namespace UpdateInfo
