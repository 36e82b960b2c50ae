#pragma once

#include "CGameDefinition.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

#include <clocale>
#include <string>

// The five built-in games as the main window's table sets them up.
inline CGameDefinition MakeGame(int32_t type)
{
    struct Row
    {
        const char *name, *version, *defaultDir, *baseDir;
        bool absolute;
        const char *caption, *wndClass, *exe, *fcCmd, *fcTrailer, *projDesc, *projExt, *importExt, *demoExt;
    };
    static const Row rows[5] = {
        {"ET Pro", "v3.2.0", "etpro", "etmain", false, "Enemy Territory", "Enemy Territory", "Et.exe",
         "freecamsetpos ", ";", "EtPro3 Ruvadir", "ep3t", "epcp", "dm_??"},
        {"DeFrag", "v1.91.02", "defrag", "baseq3", false, "Quake 3: Arena", "Quake 3: Arena", "Quake3.exe",
         "set pos \"placeplayer ", "\";", "Defrag Ruvadir", "dfct", "dfcp", "dm_??"},
        {"Warsow", "v0.30", "basewsw", "basewsw", false, "Warsow", "WarsowWndClass", "warsow.exe", "", "",
         "Warsow Ruvadir", "wswt", "cam", "wd?"},
        {"RTCW", "vX", "raVivavIva", "Main", false, "Wolfenstein", "Wolfenstein", "WolfMP.exe", "freecamsetpos ",
         ";", "RTCW Ruvadir", "rcwt", "cwcp", "dm_??"},
        {"ET QW", "v1.0", "base", "base", true, "ETQW", "ETQW", "etqw.exe", "freecamsetpos ", ";",
         "ETQW Ruvadir", "eqt", "qwcp", "ndm"},
    };
    const Row& r = rows[type];
    CGameDefinition g;
    g.Initialize(type, r.name, r.version, r.defaultDir, r.baseDir, r.absolute, r.caption, r.wndClass, r.exe,
                 "IDB_LOGO", "IDB_LOGOD", QString::fromUtf8(r.fcCmd), QString::fromUtf8(r.fcTrailer), r.projDesc,
                 r.projExt, QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir\\Games settings"), r.importExt, 0,
                 r.demoExt);
    return g;
}

inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Switches the C library's and Qt's default locale for the scope, and says
// whether the C locale is installed and really uses a decimal comma.
class CommaLocale
{
public:
    explicit CommaLocale(const char* cName)
    {
        const char* old = std::setlocale(LC_ALL, nullptr);
        m_old = old ? old : "C";
        m_set = std::setlocale(LC_ALL, cName) != nullptr && std::localeconv()->decimal_point == std::string(",");
        QLocale::setDefault(QLocale(QString::fromLatin1(cName).section(QLatin1Char('.'), 0, 0)));
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, m_old.c_str());
        QLocale::setDefault(QLocale::c());
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;
    bool IsSet() const { return m_set && QLocale().decimalPoint() == QStringLiteral(","); }

private:
    std::string m_old;
    bool m_set = false;
};
