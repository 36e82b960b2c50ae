#include "CRecentFile.h"

#include "IMenuItemArray.h"
#include "MRegistry.h"
#include "RuvError.h"

#include <algorithm>

namespace {

const QString kPrefix = QStringLiteral("RecentFile");

QString Outcome(bool ok)
{
    return ok ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

CRecentFile::CRecentFile(QObject* parent) : QObject(parent)
{
}

// ---- Binding ---------------------------------------------------------------

bool CRecentFile::Init(IMenuItemArray* menuItems, const QString& registryKey, int32_t max)
{
    m_menuItems = menuItems;
    bool ok = false;
    try {
        if (menuItems != nullptr && menuItems->Count() > 0) {
            menuItems->UBound();
            ok = true;
            if (!menuItems->IsLoaded(0))
                fLoadMenuItem(0, QStringLiteral("-"));
        }
    } catch (const RuvError&) {
        ok = false;
    }
    if (!ok) {
        m_menuItems = nullptr;
        return false;
    }
    fInitSeparator();
    SetRegistryKey(registryKey);
    SetMax(max);
    fUpdateVisibility();
    return true;
}

void CRecentFile::SetRegistryKey(const QString& key)
{
    QString k = key.trimmed();
    k.replace(QLatin1Char('/'), QLatin1Char('\\'));
    k.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    m_registryKey = k;
}

void CRecentFile::SetMax(int32_t max)
{
    if (!fIsInitialized())
        return;
    m_max = std::clamp(max, 1, MaxSlots);
    fSyncMenuCount();
}

int32_t CRecentFile::Count() const
{
    return fIsInitialized() ? m_menuItems->UBound() : 0;
}

bool CRecentFile::fIsInitialized() const
{
    return m_menuItems != nullptr && m_menuItems->Count() > 0;
}

// ---- The menu items --------------------------------------------------------

void CRecentFile::fSyncMenuCount()
{
    if (!fIsInitialized())
        return;
    try {
        // Fill the gaps of the array.
        if (m_menuItems->UBound() >= m_menuItems->Count())
            for (int32_t i = 0; i <= m_menuItems->UBound(); ++i)
                if (!m_menuItems->IsLoaded(i))
                    fLoadMenuItem(i, QString());
    } catch (const RuvError&) {
    }
    const int32_t upper = m_menuItems->UBound();
    if (m_max < upper) {
        for (int32_t i = 0; i < upper - m_max; ++i)
            fUnloadMenuItem(m_menuItems->UBound());
    } else if (m_max > upper) {
        for (int32_t i = upper + 1; i <= m_max; ++i)
            fLoadMenuItem(i, QString());
    }
}

void CRecentFile::fLoadMenuItem(int32_t index, const QString& caption)
{
    m_menuItems->Load(index);
    m_menuItems->SetCaption(index, caption);
    if (caption.isEmpty())
        m_menuItems->SetVisible(index, false);
}

void CRecentFile::fUnloadMenuItem(int32_t index)
{
    m_menuItems->Unload(index);
}

void CRecentFile::fUpdateVisibility()
{
    bool any = false;
    for (int32_t i = 1; i <= m_menuItems->UBound(); ++i) {
        const QString caption = m_menuItems->Caption(i).trimmed();
        m_menuItems->SetCaption(i, caption);
        const bool visible = !caption.isEmpty() && caption != QLatin1String("-");
        m_menuItems->SetVisible(i, visible);
        any = any || visible;
    }
    m_menuItems->SetVisible(0, any);
}

void CRecentFile::fCopyMenuItem(int32_t from, int32_t to)
{
    m_menuItems->SetCaption(to, m_menuItems->Caption(from));
    m_menuItems->SetTag(to, m_menuItems->Tag(from));
    m_menuItems->SetEnabled(to, m_menuItems->Enabled(from));
    m_menuItems->SetChecked(to, m_menuItems->Checked(from));
    m_menuItems->SetVisible(to, m_menuItems->Visible(from));
}

void CRecentFile::fInitSeparator()
{
    m_menuItems->SetCaption(0, QStringLiteral("-"));
    m_menuItems->SetTag(0, QString());
    m_menuItems->SetEnabled(0, true);
    m_menuItems->SetChecked(0, false);
}

void CRecentFile::fDebugPrint(const QString& text)
{
    if (m_debugMode)
        emit DebugPrint(text);
}

// ---- Entries ---------------------------------------------------------------

int32_t CRecentFile::fFindData(const QString& data) const
{
    for (int32_t i = 1; i <= m_menuItems->UBound(); ++i)
        if (m_menuItems->Tag(i) == data)
            return i;
    return 0;
}

void CRecentFile::Add(const QString& caption, const QString& data, bool moveExisting)
{
    const QString c = caption.trimmed();
    const QString d = data.trimmed();
    if ((c.isEmpty() && d.isEmpty()) || !fIsInitialized())
        return;
    fSyncMenuCount();
    // The same file only: on Linux two paths that differ by case are two
    // files.
    const int32_t existing = !d.isEmpty() && moveExisting ? fFindData(d) : 0;
    if (existing > 0) {
        MoveToTop(existing);
    } else {
        // Slot 1 starts as a copy of the separator; the last entry drops.
        for (int32_t i = m_menuItems->UBound(); i >= 1; --i)
            fCopyMenuItem(i - 1, i);
        if (!c.isEmpty())
            m_menuItems->SetCaption(1, c);
        if (!d.isEmpty())
            m_menuItems->SetTag(1, d);
    }
    fUpdateVisibility();
}

void CRecentFile::Clear(int32_t index)
{
    if (!fIsInitialized())
        return;
    fSyncMenuCount();
    if (index >= 1 && index <= m_menuItems->UBound()) {
        m_menuItems->SetCaption(index, QString());
        m_menuItems->SetTag(index, QString());
        m_menuItems->SetVisible(index, false);
        m_menuItems->SetChecked(index, false);
        m_menuItems->SetEnabled(index, true);
    }
    fUpdateVisibility();
}

void CRecentFile::ClearAll()
{
    if (!fIsInitialized())
        return;
    for (int32_t i = 1; i <= m_menuItems->UBound(); ++i)
        Clear(i);
}

void CRecentFile::MoveToTop(int32_t index)
{
    if (!fIsInitialized())
        return;
    fSyncMenuCount();
    if (m_menuItems->UBound() <= 1 || index < 1 || index > m_menuItems->UBound())
        return;
    // Element 0 holds the entry while the ones above it move down.
    fCopyMenuItem(index, 0);
    for (int32_t i = index; i >= 2; --i)
        fCopyMenuItem(i - 1, i);
    fCopyMenuItem(0, 1);
    fInitSeparator();
}

int32_t CRecentFile::GetIndex(const QString& caption, const QString& data)
{
    const QString c = caption.trimmed().toLower();
    const QString d = data.trimmed().toLower();
    if ((c.isEmpty() && d.isEmpty()) || !fIsInitialized())
        return 0;
    fSyncMenuCount();
    for (int32_t i = 1; i <= m_menuItems->UBound(); ++i) {
        const bool captionMatches = m_menuItems->Caption(i).toLower() == c;
        const bool dataMatches = m_menuItems->Tag(i).toLower() == d;
        if (c.isEmpty() ? dataMatches : d.isEmpty() ? captionMatches : captionMatches && dataMatches)
            return i;
    }
    return 0;
}

// ---- Bulk access -----------------------------------------------------------

bool CRecentFile::GetDatas(int32_t mode, QStringList& values)
{
    values.clear();
    if (!fIsInitialized())
        return false;
    fSyncMenuCount();
    for (int32_t i = 1; i <= m_menuItems->UBound(); ++i) {
        const QString caption = m_menuItems->Caption(i).trimmed();
        const QString data = m_menuItems->Tag(i).trimmed();
        if ((mode & ModePairs) == ModePairs) {
            if (!caption.isEmpty() || !data.isEmpty())
                values << caption << data;
        } else if ((mode & ModeDatas) != 0) {
            if (!data.isEmpty())
                values << data;
        } else if (!caption.isEmpty()) {
            values << caption;
        }
    }
    return !values.isEmpty();
}

bool CRecentFile::GetDatasStr(int32_t mode, QString& text)
{
    QStringList values;
    const bool found = GetDatas(mode, values);
    text = values.join(QLatin1Char('|'));
    return found;
}

bool CRecentFile::SetDatas(int32_t mode, const QStringList& values)
{
    if (!fIsInitialized() || values.isEmpty())
        return false;
    const bool pairs = (mode & ModePairs) == ModePairs;
    QStringList v = values;
    if (pairs && v.size() % 2 != 0)
        v << QString();
    const int32_t entries = static_cast<int32_t>(pairs ? v.size() / 2 : v.size());
    if (entries > m_max)
        SetMax(entries);
    else
        fSyncMenuCount();
    // Entries beyond the last slot have nowhere to go.
    const int32_t written = std::min(entries, m_menuItems->UBound());
    for (int32_t k = 1; k <= written; ++k) {
        if (pairs) {
            m_menuItems->SetCaption(k, v[2 * k - 2].trimmed());
            m_menuItems->SetTag(k, v[2 * k - 1].trimmed());
        } else if ((mode & ModeDatas) != 0) {
            m_menuItems->SetTag(k, v[k - 1].trimmed());
        } else {
            m_menuItems->SetCaption(k, v[k - 1].trimmed());
        }
    }
    fUpdateVisibility();
    return true;
}

bool CRecentFile::SetDatasStr(int32_t /*mode*/, const QString& text)
{
    QStringList parts = text.split(QLatin1Char('|'));
    while (!parts.isEmpty() && parts.back().trimmed().isEmpty())
        parts.removeLast();
    if (parts.isEmpty())
        return false;
    return SetDatas(ModePairs, parts);
}

// ---- The store -------------------------------------------------------------

QStringList CRecentFile::fGetRegistryEntryNames() const
{
    QStringList entries;
    if (m_registryKey.isEmpty())
        return entries;
    QStringList names;
    QList<int32_t> types;
    if (!MRegistry::RegListValues(m_registryKey, names, types))
        return entries;
    // In the store's order, which is the order they were written in; the
    // number in the name is not read.
    for (const QString& name : names)
        if (name.size() > kPrefix.size() && name.startsWith(kPrefix, Qt::CaseInsensitive))
            entries << name;
    return entries;
}

bool CRecentFile::RegistryRead()
{
    if (!fIsInitialized())
        return false;
    QStringList pairs;
    for (const QString& name : fGetRegistryEntryNames()) {
        const TaggedValue value = MRegistry::RegRead(m_registryKey, name);
        if (!value.IsText())
            continue;
        const QString text = value.TextValue().trimmed();
        if (text.isEmpty())
            continue;
        const qsizetype bar = text.lastIndexOf(QLatin1Char('|'));
        if (text.size() >= 3 && bar > 0 && bar < text.size() - 1)
            pairs << text.left(bar) << text.mid(bar + 1);
        else
            pairs << text << text;
    }
    if (pairs.isEmpty())
        return false;
    return SetDatas(ModePairs, pairs);
}

bool CRecentFile::fDeleteEntries()
{
    bool all = true;
    for (const QString& name : fGetRegistryEntryNames()) {
        const bool ok = MRegistry::RegDelete(m_registryKey, name);
        fDebugPrint(QStringLiteral("CRecentFile.RegistryClear() - ") + m_registryKey + QLatin1Char('\\') + name +
                    QStringLiteral(" : ") + Outcome(ok));
        all = all && ok;
    }
    return all;
}

void CRecentFile::RegistryClear()
{
    if (fIsInitialized())
        fDeleteEntries();
}

bool CRecentFile::RegistrySave()
{
    if (!fIsInitialized())
        return false;
    const bool cleared = fDeleteEntries();
    QStringList pairs;
    if (!GetDatas(ModePairs, pairs))
        return false;
    bool all = cleared;
    for (qsizetype k = 1; 2 * k <= pairs.size(); ++k) {
        const QString name = kPrefix + QString::number(k);
        const QString text = pairs[2 * k - 2] + QLatin1Char('|') + pairs[2 * k - 1];
        const bool ok = MRegistry::RegWrite(m_registryKey, name, MRegistry::RegSz, TaggedValue(text));
        fDebugPrint(QStringLiteral("CRecentFileRegistrySave() - ") + m_registryKey + QLatin1Char('\\') + name +
                    QStringLiteral(" : ") + Outcome(ok));
        all = all && ok;
    }
    return all;
}
