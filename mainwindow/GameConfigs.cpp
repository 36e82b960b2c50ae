#include "GameConfigs.h"

#include "HandlerErrors.h"
#include "MFileOp.h"
#include "MRegistry.h"
#include "MainContext.h"
#include "MainControls.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "PathHelper.h"

#include <QComboBox>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

constexpr int32_t kNoneText = 281;

}  // namespace

GameConfigs::GameConfigs(MainContext& context) : m_c(context)
{
    // The script panel's buttons open the window for its own two boxes.
    const MainWidgets& w = m_c.widgets;
    QObject::connect(w.cmdGConfigManager, &QPushButton::clicked, &m_receiver,
                     [this] { RunHandler(m_c, [this] { cmdGConfigManager_Click(); }); });
    QObject::connect(w.cboGConfigs, &QComboBox::currentIndexChanged, &m_receiver,
                     [this] { RunHandler(m_c, [this] { cboGConfigs_Click(); }); });
}

QString GameConfigs::GameKey() const
{
    return m_c.state.m_activeGame ? m_c.state.m_activeGame->RegistryKey() : QString();
}

void GameConfigs::fFillConfigCombo(QComboBox* combo)
{
    const QScopedValueRollback guard(m_c.state.m_comboGuard, true);
    combo->clear();
    combo->addItem(QLatin1Char('<') + m_c.texts.fGetText(kNoneText) + QLatin1Char('>'));
}

void GameConfigs::cmdGConfigManager_Click()
{
    fManageConfigs(m_c.widgets.cboGConfigs);
}

void GameConfigs::cboGConfigs_Click()
{
    if (!m_c.state.m_comboGuard)
        m_c.parts.editState->fSetProjectModified(false);
}

void GameConfigs::fManageConfigs(QComboBox* combo)
{
    FrmGameConfigs* form = m_c.controls.m_gameConfigsForm.get();
    CGameDefinition* game = m_c.state.m_activeGame;
    QString root;
    if (!form || !game || !m_c.parts.gameSelection->fGetGameRootDir(root))
        return;
    const QStringList folders = {game->BaseDir(), game->ModDirBasename()};
    const QString remembered = combo->count() > 1 ? combo->currentText() : QString();
    QStringList current = {QString()};
    for (int i = 1; i < combo->count(); ++i)
        current << combo->itemText(i);
    const CCamPosSetting& recorder = game->ScriptSetting();
    const QString excluded = recorder.SavingRelativeDir() + QLatin1Char(';') + recorder.ScriptsRelativeDir();

    form->RefreshConfigs(root, folders, current, excluded);
    form->SetPosition(combo);
    form->exec();
    if (form->Canceled())
        return;

    const QScopedValueRollback guard(m_c.state.m_comboGuard, true);
    fFillConfigCombo(combo);
    QStringList chosen;
    if (form->GetSelected(chosen))
        combo->addItems(chosen);
    const int found = combo->findText(remembered, Qt::MatchExactly | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(found >= 1 ? found : 0);
}

void GameConfigs::fRemoveMissingConfigs(QComboBox* combo)
{
    QString root;
    if (combo->count() <= 1 || !m_c.parts.gameSelection->fGetGameRootDir(root))
        return;
    const QScopedValueRollback guard(m_c.state.m_comboGuard, true);
    for (int i = combo->count() - 1; i >= 1; --i) {
        if (!MFileOp::FileExists(RuvPlatform::PathHelper::Join(root, combo->itemText(i))))
            combo->removeItem(i);
    }
}

bool GameConfigs::fConfigsRegList(QStringList& names, const QString& listName)
{
    names.clear();
    const QString key = GameKey();
    QStringList all;
    QList<int32_t> types;
    if (key.isEmpty() || !m_c.services.settings->ListValues(key, all, types))
        return false;
    for (const QString& name : all) {
        if (name.size() > listName.size() && name.startsWith(listName, Qt::CaseInsensitive))
            names << name;
    }
    return !names.isEmpty();
}

void GameConfigs::fConfigsRegClear(const QString& listName)
{
    QStringList names;
    if (!fConfigsRegList(names, listName))
        return;
    for (const QString& name : names)
        m_c.services.settings->Delete(GameKey(), name);
}

void GameConfigs::fConfigsRegRead(QComboBox* combo, const QString& listName)
{
    const QScopedValueRollback guard(m_c.state.m_comboGuard, true);
    combo->setUpdatesEnabled(false);
    fFillConfigCombo(combo);
    QStringList names;
    if (fConfigsRegList(names, listName)) {
        for (const QString& name : names) {
            // Only texts; a damaged value is left out, not shown as a file.
            const TaggedValue value = m_c.services.settings->Read(GameKey(), name);
            const QString text = value.IsText() ? value.TextValue().trimmed() : QString();
            if (text.isEmpty())
                continue;
            combo->addItem(text);
        }
    }
    combo->setCurrentIndex(0);
    combo->setUpdatesEnabled(true);
}

void GameConfigs::fConfigsRegSave(QComboBox* combo, const QString& listName)
{
    const QString key = GameKey();
    if (key.isEmpty())
        return;
    ISettingsStore& store = *m_c.services.settings;
    // The list is replaced whole.
    const StoreBatch batch(store);
    fConfigsRegClear(listName);
    for (int i = 1; i < combo->count(); ++i)
        store.Write(key, listName + QString::number(i), MRegistry::RegSz, TaggedValue(combo->itemText(i)));
}
