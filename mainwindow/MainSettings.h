#pragma once

// The main window's settings in the settings store: the values under the
// application key, the four groups of per-view values, and under each
// game's key its frame-rate list, recent projects and recent configuration
// and command lists; the typed reads and writes beneath them.
//
// Booleans are stored as DWORD 1 or 0 and read as true from 1 up; whole
// numbers as the DWORD of their absolute value (none of them is negative),
// read back as 16-bit integers; texts as text. A missing value gives its
// default and a value that does not convert to a whole number gives 0.

#include "TaggedValue.h"

#include <QString>

#include <cstdint>

struct MainContext;

class MainSettings
{
public:
    static constexpr const char* AppKey = "HKLM\\Software\\Viziviz\\Ruvadir";

    explicit MainSettings(MainContext& context);

    // ---- Typed reads and writes -------------------------------------------
    bool fRegValueRead(const QString& keyPath, const QString& name, TaggedValue& value);
    void fRegReadInt(const QString& keyPath, const QString& name, int16_t defaultValue, int16_t& result);
    void fRegReadBool(const QString& keyPath, const QString& name, bool defaultValue, bool& result);
    void fRegWriteLong(const QString& keyPath, const QString& name, int32_t value);
    void fRegWriteBool(const QString& keyPath, const QString& name, bool value);
    void fRegWriteText(const QString& keyPath, const QString& name, const QString& value);

    // ---- The groups -------------------------------------------------------------
    // Reads and applies the application key's values; gives the game to
    // make current (0 to 4) and the minimizer's state and hot key (the
    // hot key only when stored).
    void fReadSettings(int32_t& defaultGame, bool& minimizerEnabled, QString& minimizerHotkey);
    // Writes the application key's values, every game's settings and the
    // current game's lists.
    void fSaveSettings();
    void fReadViewSettings(const QString& keyPath);
    void fSaveViewSettings(const QString& keyPath);
    void fReadGameSettings();
    void fWriteGameSettings();
    void fWriteCurrentGameSettings();
    void fReadRecentLists();
    void fSaveRecentLists();
    void fReadFramerateLists();
    void fSaveFramerateLists();

private:
    QString AppKeyPath() const { return QString::fromLatin1(AppKey); }
    QString GameKey() const;

    MainContext& m_c;
};
