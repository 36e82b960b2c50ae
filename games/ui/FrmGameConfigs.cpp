#include "FrmGameConfigs.h"

#include "GameConfigSearch.h"

#include <QListWidget>
#include <QPushButton>
#include <QScreen>

FrmGameConfigs::FrmGameConfigs(QWidget* parent) : CancelableDialog(parent)
{
    setObjectName(QStringLiteral("FrmGameConfigs"));
    setFixedSize(320, 300);

    m_lstConfigs = new QListWidget(this);
    m_lstConfigs->setObjectName(QStringLiteral("lstConfigs"));
    m_lstConfigs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_lstConfigs->setGeometry(8, 8, 304, 248);

    m_cmdOk = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setGeometry(148, 264, 78, 26);
    m_cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cmdCancel->setGeometry(234, 264, 78, 26);
    // Enter in the list takes the selection.
    m_cmdOk->setDefault(true);

    connect(m_cmdOk, &QPushButton::clicked, this, [this] { fCloseForm(false); });
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { fCloseForm(true); });
}

void FrmGameConfigs::SetCaptions(const QString& cancelCaption)
{
    m_cmdCancel->setText(cancelCaption);
}

void FrmGameConfigs::RefreshConfigs(const QString& root, const QStringList& searchedFolders,
                                    const QStringList& preselected, const QString& excludedFolders)
{
    m_lstConfigs->setUpdatesEnabled(false);
    m_lstConfigs->clear();
    for (const GameConfigSearch::Entry& e :
         GameConfigSearch::SearchConfigs(root, searchedFolders, preselected, excludedFolders)) {
        auto* item = new QListWidgetItem(e.text, m_lstConfigs);
        item->setSelected(e.selected);
    }
    m_lstConfigs->setUpdatesEnabled(true);
}

bool FrmGameConfigs::GetSelected(QStringList& selected) const
{
    QStringList texts;
    for (int i = 0; i < m_lstConfigs->count(); ++i)
        if (m_lstConfigs->item(i)->isSelected())
            texts << m_lstConfigs->item(i)->text();
    if (texts.isEmpty())
        return false;
    selected = texts;
    return true;
}

void FrmGameConfigs::SetPosition(const QWidget* control)
{
    if (control == nullptr)
        return;
    QPoint at = control->mapToGlobal(QPoint(0, 0)) + QPoint(0, 32);
    const QScreen* screen = control->screen();
    if (screen != nullptr) {
        const QRect area = screen->geometry();
        const QSize size = frameGeometry().size();
        if (at.x() + size.width() > area.x() + area.width())
            at.setX(area.x() + area.width() - size.width());
        if (at.y() + size.height() > area.y() + area.height())
            at.setY(area.y() + area.height() - size.height());
    }
    move(at);
}
