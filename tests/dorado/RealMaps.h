#pragma once

// The real maps unpacked by the dorado_unpack_maps fixture.

#include <QDir>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace DoradoTest {

inline QString RealMapFolder()
{
    return qEnvironmentVariable("RUVADIR_TEST_DATA") + QStringLiteral("/dorado/maps");
}

inline QStringList RealMaps()
{
    QStringList out;
    const QDir dir(RealMapFolder());
    for (const QString& name : dir.entryList({QStringLiteral("*.bsp")}, QDir::Files, QDir::Name))
        out << dir.filePath(name);
    return out;
}

// The first spawn point of any kind in the entity text (free for all,
// single player or team): its origin, or false.
inline bool FirstSpawnPoint(const QString& entities, float origin[3])
{
    static const char* const kinds[] = {"\"info_player_deathmatch\"", "\"info_player_start\"",
                                        "\"team_CTF_redspawn\"",      "\"team_CTF_bluespawn\"",
                                        "\"team_CTF_redplayer\"",     "\"team_CTF_blueplayer\""};
    qsizetype at = 0;
    while ((at = entities.indexOf(QLatin1Char('{'), at)) >= 0) {
        const qsizetype end = entities.indexOf(QLatin1Char('}'), at);
        if (end < 0)
            return false;
        const QString block = entities.mid(at, end - at);
        at = end;
        if (std::none_of(std::begin(kinds), std::end(kinds),
                         [&](const char* kind) { return block.contains(QLatin1String(kind)); }))
            continue;
        const qsizetype o = block.indexOf(QLatin1String("\"origin\""));
        if (o < 0)
            continue;
        const qsizetype q1 = block.indexOf(QLatin1Char('"'), o + 8);
        const qsizetype q2 = block.indexOf(QLatin1Char('"'), q1 + 1);
        const QStringList parts = block.mid(q1 + 1, q2 - q1 - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() != 3)
            continue;
        for (int i = 0; i < 3; ++i)
            origin[i] = parts[i].toFloat();
        return true;
    }
    return false;
}

}  // namespace DoradoTest
