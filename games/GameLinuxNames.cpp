#include "GameLinuxNames.h"

const GameLinuxNames& LinuxNamesOfGame(int32_t gameType)
{
    static const GameLinuxNames kGames[5] = {
        // ET Pro: ET: Legacy, or the original Linux build of Enemy Territory.
        {{"etl", "etl.x86_64", "etl.i386", "etl.aarch64", "et", "et.x86", "etlegacy"},
         {"etl", "ET: Legacy", "et.x86", "Enemy Territory"}},
        // DeFrag: ioquake3 and its relatives.
        {{"ioquake3", "ioquake3.x86_64", "ioquake3.i386", "ioquake3.aarch64", "quake3", "quake3.x86", "q3"},
         {"ioquake3", "quake3", "Quake 3: Arena"}},
        // Warsow's own Linux build.
        {{"warsow", "warsow.x86_64", "warsow.i386", "wsw"}, {"warsow", "Warsow", "WarsowWndClass"}},
        // RTCW: iortcw, or the original Linux build.
        {{"iowolfmp", "iowolfmp.x86_64", "iowolfmp.i386", "iowolfmp.aarch64", "wolfmp", "wolf.x86", "wolfmp.x86"},
         {"iowolfmp", "wolfmp", "Wolfenstein"}},
        // ET QW's Linux build.
        {{"etqw", "etqw.x86", "etqw-rthread.x86"}, {"etqw", "ETQW"}},
    };
    static const GameLinuxNames kNone;
    return gameType >= 0 && gameType < 5 ? kGames[gameType] : kNone;
}
