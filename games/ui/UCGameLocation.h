#pragma once

#include "ComTypes.h"
#include "ModFolderList.h"

#include <QList>
#include <QString>
#include <QWidget>

class CGameDefinition;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace Dadavive {
class ICSubclass;
class ICSubclassEvents;
}

// Where one game lives: its executable, its base (mod) folder and its
// default demo folder. The control edits the game definition it is given
// (the settings window hands it a working copy) and shows the values back
// after every change. Games started from an absolute folder pick their base
// folder with a folder browser; the others pick a sub-folder of the
// executable's folder in a list.
class UCGameLocation : public QWidget
{
    Q_OBJECT

public:
    explicit UCGameLocation(QWidget* parent = nullptr);
    ~UCGameLocation() override;

    // Not owned: the caller keeps the game alive while the control shows it.
    void SetGame(CGameDefinition* game);
    // Eleven texts: frame caption, browse buttons, the three labels, the
    // check box, the executable filter, the wrong-executable title, the two
    // folder-browser titles and the executable dialog's title ("%%": the
    // names the game's executable may have). Any other count changes nothing.
    void SetControlsText(const QStringList& texts);
    bool IsLocationValid() const;

signals:
    // The control has arranged itself and set its own height.
    void LayoutChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class PathBoxSink;

    void fRefresh();
    void fShowLocation();
    void fFillModList();
    void fShowDemoDir();
    void fEnableDemoDirControls(bool useDefault);
    void fArrangeControls();
    // Sizes the labels to their texts and keeps the check box beside the
    // demo label clear of it.
    void fFitCaptions();
    bool fShowOpenDialog(QString& path, const QString& title, const QString& filterDescription,
                         const QStringList& names);
    void WatchPathBox(QLineEdit* box, Com::ComPtr<Dadavive::ICSubclass>& member);

    void OnModListSelection();
    void OnUseDefaultToggled(bool checked);
    void OnBrowseExe();
    void OnBrowseAbsoluteWorkingDirectory();
    void OnBrowseDemoDir();

    CGameDefinition* m_game = nullptr;
    QList<ModFolderList::Entry> m_modEntries;
    QString m_exeFilterDescription = QStringLiteral("Executable file");
    QString m_wrongExeTitle = QStringLiteral("Wrong game executable");
    QString m_baseDirTitle = QStringLiteral("Select the game base directory (usually <game folder>\\base).");
    QString m_demoDirTitle = QStringLiteral("Select the demos directory.");
    QString m_exeDialogTitle = QStringLiteral("Please select the game executable (%%).");

    QGroupBox* m_fraMain = nullptr;
    QLabel* m_lblGameExePath = nullptr;
    QLineEdit* m_txtGameExePath = nullptr;
    QPushButton* m_cmdBrowseForGameExePath = nullptr;
    QLabel* m_lblWorkingDirectory = nullptr;
    QListWidget* m_lstWorkingDirectory = nullptr;
    QFrame* m_fraAbsoluteWorkingDirectory = nullptr;
    QLineEdit* m_txtAbsoluteWorkingDirectory = nullptr;
    QPushButton* m_cmdBrowseForAbsoluteWorkingDirectory = nullptr;
    QFrame* m_fraDemoDefaultRootDir = nullptr;
    QLabel* m_lblDemoDefaultRootDir = nullptr;
    QCheckBox* m_chkDemoDefaultRootDirUseDefault = nullptr;
    QLineEdit* m_txtDemoDefaultRootDir = nullptr;
    QPushButton* m_cmdBrowseForDemoDefaultRootDir = nullptr;

    Com::ComPtr<Dadavive::ICSubclassEvents> m_pathBoxSink;
    Com::ComPtr<Dadavive::ICSubclass> m_txtGameExePathSc;
    Com::ComPtr<Dadavive::ICSubclass> m_txtAbsoluteWorkingDirectorySc;
};
