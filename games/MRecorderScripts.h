#pragma once

#include <QString>

#include <string>

class CGameDefinition;
class CCamPosSetting;

// The Rozuro Zuvarazu Zizavuva: game scripts that let the user record camera
// positions inside the running game (a key press dumps the view position into
// a numbered file), and the autoexec.cfg line that loads them.
namespace MRecorderScripts {

// The texts the recorder control passes in the user's language; the
// defaults are the English ones.
struct Messages
{
    QString updateError = QStringLiteral("Error occured while updating the %% script");       // 4
    QString cannotRead = QStringLiteral("cannot read the file");                               // 5
    QString cannotBackup = QStringLiteral("cannot backup the original file");                  // 6
    QString cannotWrite = QStringLiteral("cannot write the file");                             // 7
    QString invalidLocation =
        QStringLiteral("Please select valid game executable path and working directory.");  // 8
    QString folderNotCreated = QStringLiteral("The %% folder could not be created.");          // 9
    QString badKey = QStringLiteral("The key \"%%\" is not a key name the game can bind: give one word of "
                                    "printable Latin-1 characters without \";\", a double quote, \"//\" or \"/*\", such as "
                                    "\"p\", \"PGUP\" or \"MOUSE3\".");
    QString badFolder = QStringLiteral("The folder \"%%\" does not lie inside the mod folder: give a folder "
                                       "below it, without \".\" or \"..\" parts.");
};

// How the recorder tells the user what went wrong (an information box
// titled kBoxTitle in the program; tests collect the texts).
class IInfoBox
{
public:
    virtual ~IInfoBox() = default;
    virtual void ShowInfo(const QString& title, const QString& message) = 0;
};

inline const QString kBoxTitle = QStringLiteral("Rozuro Zuvarazu Zizavuva");
inline const QString kRecorderTitle = QStringLiteral("Rozuro Zuvarazu Zizavuva for Viziviz Ruvadir");

// The texts of the scripts, as the game reads them (Latin-1, CR LF).
std::string InitializationScript(const CGameDefinition& game, const CCamPosSetting& settings);
// Position script n (0 to 24) of record key 1 or 2 (2: ET Pro only).
std::string PositionScript(const CGameDefinition& game, const CCamPosSetting& settings, int key, int n);
// The script file names, relative to the mod folder.
QString InitializationScriptPath(const CCamPosSetting& settings);
QString PositionScriptPath(const CCamPosSetting& settings, int key, int n);

// Writes the initialization script and the position scripts into the mod
// folder. False (after telling the user) when the location is invalid or a
// file cannot be written.
bool WriteRecorderScripts(const CGameDefinition& game, const CCamPosSetting& settings,
                          const Messages& messages, IInfoBox& box);

// Adds the line that runs the initialization script to the mod folder's
// autoexec.cfg, keeping the rest of the file byte for byte and its previous
// content in "autoexec.bak_vava". Does nothing when an active line is there.
bool PatchAutoexec(const CGameDefinition& game, const CCamPosSetting& settings,
                   const Messages& messages, IInfoBox& box);

} // namespace MRecorderScripts
