#include "GameLinuxNames.h"

const GameLinuxNames& LinuxNamesOfGame(int32_t gameType)
{
    static const GameLinuxNames kGames[5] = {
        // ET Pro: ET: Legacy, or the original Linux build of Enemy Territory.
        {{"etl", "etl.x86_64", "etl.i386", "etl.aarch64", "et", "et.x86", "etlegacy"},
         {"etl", "ET: Legacy", "et.x86", "Enemy Territory"},
         {"~/.etlegacy", "$XDG_DATA_HOME/etlegacy", "~/.etwolf"},
         {"~/etlegacy", "~/enemy-territory", "/usr/lib/etlegacy", "/usr/local/games/etlegacy",
          "/usr/local/games/enemy-territory", "/opt/etlegacy"}},
        // DeFrag: ioquake3 and its relatives.
        {{"ioquake3", "ioquake3.x86_64", "ioquake3.i386", "ioquake3.aarch64", "quake3", "quake3.x86", "q3"},
         {"ioquake3", "quake3", "Quake 3: Arena"},
         {"~/.q3a"},
         {"~/ioquake3", "~/quake3", "/usr/lib/ioquake3", "/usr/local/games/ioquake3", "/usr/local/games/quake3",
          "/opt/ioquake3", "/opt/quake3"}},
        // Warsow's own Linux build; 2.x keeps its home under the XDG data home.
        {{"warsow", "warsow.x86_64", "warsow.i386", "wsw"},
         {"warsow", "Warsow", "WarsowWndClass"},
         {"$XDG_DATA_HOME/warsow-2.1", "$XDG_DATA_HOME/warsow-2.0", "~/.warsow-1.5", "~/.warsow-1.0", "~/.warsow"},
         {"~/warsow", "~/warsow_21", "/usr/local/games/warsow", "/opt/warsow"}},
        // RTCW: iortcw, or the original Linux build.
        {{"iowolfmp", "iowolfmp.x86_64", "iowolfmp.i386", "iowolfmp.aarch64", "wolfmp", "wolf.x86", "wolfmp.x86"},
         {"iowolfmp", "wolfmp", "Wolfenstein"},
         {"~/.wolf"},
         {"~/iortcw", "/usr/lib/iortcw", "/usr/local/games/iortcw", "/usr/local/games/wolfenstein", "/opt/iortcw"}},
        // ET QW's Linux build.
        {{"etqw", "etqw.x86", "etqw-rthread.x86"},
         {"etqw", "ETQW"},
         {"~/.etqwcl"},
         {"~/etqw", "/usr/local/games/etqw", "/opt/etqw"}},
    };
    static const GameLinuxNames kNone;
    return gameType >= 0 && gameType < 5 ? kGames[gameType] : kNone;
}
