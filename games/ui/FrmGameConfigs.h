#pragma once

#include "CancelableDialog.h"

#include <QString>
#include <QStringList>

class QListWidget;
class QPushButton;

// The small modal window in which the user picks one or more of a game's
// configuration scripts. The caller fills it, places it under the control
// that opened it, shows it with exec() and, unless it was cancelled, takes
// the selected entries (paths relative to the game folder). It is hidden,
// never destroyed, when it closes, so the caller can read the result.
class FrmGameConfigs : public CancelableDialog
{
    Q_OBJECT

public:
    explicit FrmGameConfigs(QWidget* parent = nullptr);

    void SetCaptions(const QString& cancelCaption);
    // Fills the list with the ".cfg" files of the root and of its searched
    // folders; entries equal to a preselected name start selected. The
    // excluded folders are paths below a searched folder, parted by ";".
    void RefreshConfigs(const QString& root, const QStringList& searchedFolders, const QStringList& preselected,
                        const QString& excludedFolders);
    // The selected entries in list order; false (and the list left alone)
    // when none is selected.
    bool GetSelected(QStringList& selected) const;
    // Just below the control (32 pixels under its top), kept on its screen.
    void SetPosition(const QWidget* control);

private:
    QListWidget* m_lstConfigs = nullptr;
    QPushButton* m_cmdOk = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};
