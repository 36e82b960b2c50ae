#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

class IMenuItemArray;

// A most-recently-used list kept in a menu item array: element 0 is the
// separator, elements 1 .. Max the slots, slot 1 the most recent. Each slot
// shows its caption and holds its data (a file path) in its tag; empty
// slots are hidden, and so is the separator when every slot is. The list
// is read from and saved to the settings store as text values "RecentFile1",
// "RecentFile2", ... = caption "|" data under one key.
//
// Nothing is kept outside the menu items. Every member but Init,
// RegistryKey and DebugMode does nothing (or gives false, 0, empty) before
// a successful Init. The menu array is not owned and must outlive the
// list's use of it.
class CRecentFile : public QObject
{
    Q_OBJECT

public:
    static constexpr int32_t MaxSlots = 20;
    // Modes of the bulk accessors.
    static constexpr int32_t ModeCaptions = 2;
    static constexpr int32_t ModeDatas = 4;
    static constexpr int32_t ModePairs = 6;

    explicit CRecentFile(QObject* parent = nullptr);

    // Binds the list to the array (loading element 0 as the separator when
    // it is missing), with the key and Max; false for an array without
    // elements, which is then let go.
    bool Init(IMenuItemArray* menuItems, const QString& registryKey, int32_t max);
    // GetDatas joined with "|".
    bool GetDatasStr(int32_t mode, QString& text);
    // The non-empty slots in menu order: captions (2), data (4) or both as
    // pairs (6, caption first). True when anything was found.
    bool GetDatas(int32_t mode, QStringList& values);
    // Splits at "|" and sets the pairs; the mode is not used.
    bool SetDatasStr(int32_t mode, const QString& text);
    // Fills slots 1, 2, ... from the values (pairs in mode 6, else captions,
    // or data with bit 4), growing Max up to 20 slots when there are more;
    // values beyond the 20th slot are dropped. Later slots keep what they
    // hold.
    bool SetDatas(int32_t mode, const QStringList& values);
    // Puts an entry on top. With moveExisting an entry whose data is the
    // same text (exactly: paths differ by case) moves up instead, keeping
    // its caption.
    void Add(const QString& caption, const QString& data, bool moveExisting);
    void Clear(int32_t index);
    void ClearAll();
    void MoveToTop(int32_t index);
    // The first slot whose caption and/or data match, without regard to
    // case (what is given of the two counts); 0 when none.
    int32_t GetIndex(const QString& caption, const QString& data);
    // Adds the stored entries in the store's order, without clearing the
    // slots first. Values that are no text or empty are skipped; a value
    // without a "|" inside it is both caption and data. False when nothing
    // was read (also for a damaged store).
    bool RegistryRead();
    // Replaces the stored entries by the slots; true when every value was
    // deleted and written, false for an empty list.
    bool RegistrySave();
    // Deletes the stored entries; other values of the key stay.
    void RegistryClear();
    // 1 to 20 slots.
    void SetMax(int32_t max);
    // The slot count; 0 before Init.
    int32_t Count() const;
    QString RegistryKey() const { return m_registryKey; }
    // Trimmed, "/" made "\", each "\\" made one "\" in one pass.
    void SetRegistryKey(const QString& key);
    bool DebugMode() const { return m_debugMode; }
    void SetDebugMode(bool debugMode) { m_debugMode = debugMode; }

signals:
    // With DebugMode, one line per value written or deleted.
    void DebugPrint(const QString& text);

private:
    QStringList fGetRegistryEntryNames() const;
    void fSyncMenuCount();
    void fLoadMenuItem(int32_t index, const QString& caption);
    void fUnloadMenuItem(int32_t index);
    bool fIsInitialized() const;
    void fUpdateVisibility();
    void fCopyMenuItem(int32_t from, int32_t to);
    void fInitSeparator();
    void fDebugPrint(const QString& text);
    // The first slot whose data is exactly `data`; 0 when none.
    int32_t fFindData(const QString& data) const;
    // RegistryClear with its outcome: true when every value went.
    bool fDeleteEntries();

    IMenuItemArray* m_menuItems = nullptr;
    int32_t m_max = 0;
    QString m_registryKey;
    bool m_debugMode = false;
};
