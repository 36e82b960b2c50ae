// The configuration lists on the real window: the configurations window
// clicked on a game folder of the test (the recorder's folders left out,
// Cancel, the selection kept or lost, the before and after buttons, no
// window for a refused location), the modified mark, the lists in the
// settings store (their names, damaged values, a shorter list replacing a
// longer one, never "<none>") and the lists at a game switch, pruned of
// files that are gone.

#include "LaunchHarness.h"
#include "MRegistry.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QTemporaryDir>

using namespace Harness;

namespace {

FrmGameConfigs* OpenConfigsWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<FrmGameConfigs*>(w); form && form->isVisible())
            return form;
    return nullptr;
}

// Runs the steps on the configurations window once it shows; `seen` tells
// afterwards whether it did.
void OnConfigsWindow(std::function<void(FrmGameConfigs*, QListWidget*)> steps, bool* seen = nullptr)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, steps, seen] {
        if (FrmGameConfigs* form = OpenConfigsWindow()) {
            poll->stop();
            poll->deleteLater();
            if (seen)
                *seen = true;
            steps(form, form->findChild<QListWidget*>(QStringLiteral("lstConfigs")));
        }
    });
    poll->start(20);
}

QStringList Texts(const QListWidget* list, bool selectedOnly)
{
    QStringList texts;
    for (int i = 0; list && i < list->count(); ++i)
        if (!selectedOnly || list->item(i)->isSelected())
            texts << list->item(i)->text();
    return texts;
}

// A click on the entry with Ctrl held, as the user adds or takes one away.
void CtrlClick(QListWidget* list, const QString& text)
{
    const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
    if (items.isEmpty())
        return;
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(items.first()).center());
}

void Press(FrmGameConfigs* form, const char* button)
{
    if (auto* b = form->findChild<QPushButton*>(QLatin1String(button)))
        QTest::mouseClick(b, Qt::LeftButton);
}

QStringList Entries(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

}  // namespace

class TstGameConfigs : public QObject
{
    Q_OBJECT

    Launch::Session m_s;
    std::shared_ptr<RecordingDialogs> m_dialogs = std::make_shared<RecordingDialogs>();

    MainWidgets& W() { return m_s.window->Widgets(); }
    GameConfigs& Configs() { return dynamic_cast<GameConfigs&>(*m_s.window->Parts().gameConfigs); }
    QString GameKey() const { return m_s.window->State().m_activeGame->RegistryKey(); }

    bool Touch(const QString& name)
    {
        QDir().mkpath(QFileInfo(m_s.Path(name)).path());
        QFile file(m_s.Path(name));
        return file.open(QIODevice::WriteOnly);
    }

    // As the code fills a combo: no mark.
    void Fill(QComboBox* combo, const QStringList& entries, int selected)
    {
        const QScopedValueRollback guard(m_s.window->State().m_comboGuard, true);
        Configs().fFillConfigCombo(combo);
        combo->addItems(entries);
        combo->setCurrentIndex(selected);
    }

private slots:
    void initTestCase()
    {
        for (const char* name : {"et/etl", "et/root.cfg", "et/.cfg", "et/etmain/autoexec.cfg", "et/etmain/cfg/B.CFG",
                                 "et/etpro/a.cfg", "et/etpro/cameras/vava/pos/pos1.cfg",
                                 "et/etpro/cameras/vava/scripts/init.cfg", "et/other/o.cfg"})
            QVERIFY(Touch(QString::fromLatin1(name)));
        QVERIFY(m_s.Start(Services(m_dialogs)));
        QVERIFY(Launch::SetGameFolders(*m_s.window, m_s.Path(QStringLiteral("et/etl")), m_s.Path(QStringLiteral("et/etpro"))));
        // A point in the path: a change of the user's marks the project.
        m_s.window->State().m_mainCurve->AddControl3(0, 0, 0, 0, 0, 0, false);
    }

    void cleanupTestCase() { m_s.window.reset(); }

    void init()
    {
        m_s.stand.locationValid.reset();
        m_s.stand.calls.clear();
        m_s.window->State().m_projectModified = false;
    }

    void theWindowListsTheGameFoldersAndCancelChangesNothing()
    {
        QComboBox* combo = W().cboGConfigs;
        Fill(combo, {QStringLiteral("etpro\\a.cfg"), QStringLiteral("root.cfg")}, 1);
        QStringList listed;
        QStringList preselected;
        OnConfigsWindow([&](FrmGameConfigs* form, QListWidget* list) {
            listed = Texts(list, false);
            preselected = Texts(list, true);
            CtrlClick(list, QStringLiteral("etmain\\autoexec.cfg"));
            Press(form, "cmdCancel");
        });
        QTest::mouseClick(W().cmdGConfigManager, Qt::LeftButton);
        // The base and mod folders and the root's own files; not the
        // recorder's folders, not another folder, not a bare ".cfg".
        QCOMPARE(listed, (QStringList{"etmain\\autoexec.cfg", "etmain\\cfg\\B.CFG", "etpro\\a.cfg", "root.cfg"}));
        QCOMPARE(preselected, (QStringList{"etpro\\a.cfg", "root.cfg"}));
        QCOMPARE(Entries(combo), (QStringList{"<none>", "etpro\\a.cfg", "root.cfg"}));
        QCOMPARE(combo->currentIndex(), 1);
        QVERIFY(!m_s.window->State().m_projectModified);
    }

    void theChosenFilesBecomeTheEntries_data()
    {
        QTest::addColumn<QString>("add");
        QTest::addColumn<QString>("remove");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("selected");
        QTest::newRow("the selection stays") << "etmain\\autoexec.cfg" << ""
                                             << QStringList{"<none>", "etmain\\autoexec.cfg", "etpro\\a.cfg"}
                                             << "etpro\\a.cfg";
        QTest::newRow("the selection goes") << "etmain\\cfg\\B.CFG" << "etpro\\a.cfg"
                                            << QStringList{"<none>", "etmain\\cfg\\B.CFG"} << "<none>";
        QTest::newRow("nothing chosen") << "" << "etpro\\a.cfg" << QStringList{"<none>"} << "<none>";
    }

    void theChosenFilesBecomeTheEntries()
    {
        QFETCH(QString, add);
        QFETCH(QString, remove);
        QFETCH(QStringList, entries);
        QFETCH(QString, selected);
        QComboBox* combo = W().cboGConfigs;
        // An entry whose file is gone is not offered again.
        Fill(combo, {QStringLiteral("etpro\\a.cfg"), QStringLiteral("etpro\\gone.cfg")}, 1);
        OnConfigsWindow([&](FrmGameConfigs* form, QListWidget* list) {
            CtrlClick(list, add);
            CtrlClick(list, remove);
            Press(form, "cmdOk");
        });
        QTest::mouseClick(W().cmdGConfigManager, Qt::LeftButton);
        QCOMPARE(Entries(combo), entries);
        QCOMPARE(combo->currentText(), selected);
        // A selection made by the code marks nothing.
        QVERIFY(!m_s.window->State().m_projectModified);
    }

    void theScriptPanelButtonsFillTheirCombos_data()
    {
        QTest::addColumn<bool>("before");
        QTest::newRow("before") << true;
        QTest::newRow("after") << false;
    }

    void theScriptPanelButtonsFillTheirCombos()
    {
        QFETCH(bool, before);
        QComboBox* combo = before ? W().cboSCmdsBefore : W().cboSCmdsAfter;
        Configs().fFillConfigCombo(combo);
        OnConfigsWindow([&](FrmGameConfigs* form, QListWidget* list) {
            CtrlClick(list, QStringLiteral("root.cfg"));
            Press(form, "cmdOk");
        });
        W().tabControl->setCurrentIndex(3);
        QTest::mouseClick(before ? W().cmdSCmdsBefore : W().cmdSCmdsAfter, Qt::LeftButton);
        W().tabControl->setCurrentIndex(4);
        QCOMPARE(Entries(combo), (QStringList{"<none>", "root.cfg"}));
    }

    void aRefusedLocationShowsNoWindow()
    {
        m_s.stand.locationValid = false;
        bool seen = false;
        OnConfigsWindow([](FrmGameConfigs* form, QListWidget*) { Press(form, "cmdCancel"); }, &seen);
        // The window is modal: had it shown, the click would have waited
        // for it.
        QTest::mouseClick(W().cmdGConfigManager, Qt::LeftButton);
        QVERIFY(m_s.stand.calls.contains(QStringLiteral("check")));
        QVERIFY(!seen);
        // For the next test: the poll still waits.
        m_s.stand.locationValid.reset();
        QTest::mouseClick(W().cmdGConfigManager, Qt::LeftButton);
        QVERIFY(seen);
    }

    void theUsersChoiceMarksTheProject()
    {
        QComboBox* combo = W().cboGConfigs;
        Fill(combo, {QStringLiteral("etpro\\a.cfg"), QStringLiteral("root.cfg")}, 0);
        QVERIFY(!m_s.window->State().m_projectModified);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), 1);
        QVERIFY(m_s.window->State().m_projectModified);
    }

    void theListsNamesBeginWithTheirPrefix()
    {
        ISettingsStore& store = *m_s.window->Services().settings;
        Configs().fConfigsRegClear(QStringLiteral("Config"));
        store.Write(GameKey(), QStringLiteral("config1"), MRegistry::RegSz, TaggedValue(QStringLiteral("  a.cfg ")));
        store.Write(GameKey(), QStringLiteral("Config"), MRegistry::RegSz, TaggedValue(QStringLiteral("no.cfg")));
        store.Write(GameKey(), QStringLiteral("CONFIG2"), MRegistry::RegDword, TaggedValue(int32_t(7)));
        store.Write(GameKey(), QStringLiteral("Config3"), MRegistry::RegSz, TaggedValue(QStringLiteral("etmain\\b.cfg")));
        store.Write(GameKey(), QStringLiteral("Config4"), MRegistry::RegSz, TaggedValue(QStringLiteral("   ")));
        QStringList names;
        QVERIFY(Configs().fConfigsRegList(names, QStringLiteral("Config")));
        QCOMPARE(names, (QStringList{"config1", "CONFIG2", "Config3", "Config4"}));
        QVERIFY(!Configs().fConfigsRegList(names, QStringLiteral("Nothing")));

        // Text values only, trimmed; the damaged ones are left out.
        QComboBox* combo = W().cboGConfigs;
        Configs().fConfigsRegRead(combo, QStringLiteral("Config"));
        QCOMPARE(Entries(combo), (QStringList{"<none>", "a.cfg", "etmain\\b.cfg"}));
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(!m_s.window->State().m_projectModified);
    }

    void aSavedListReplacesTheOldOneWhole()
    {
        ISettingsStore& store = *m_s.window->Services().settings;
        for (int i = 1; i <= 4; ++i)
            store.Write(GameKey(), QStringLiteral("AfterScript%1").arg(i), MRegistry::RegSz, TaggedValue(QStringLiteral("old.cfg")));
        QComboBox* combo = W().cboSCmdsAfter;
        Fill(combo, {QStringLiteral("etmain\\x.cfg"), QStringLiteral("etpro\\y.cfg"), QStringLiteral("z.cfg")}, 2);
        Configs().fConfigsRegSave(combo, QStringLiteral("AfterScript"));
        QStringList names;
        QVERIFY(Configs().fConfigsRegList(names, QStringLiteral("AfterScript")));
        QCOMPARE(names, (QStringList{"AfterScript1", "AfterScript2", "AfterScript3"}));
        QCOMPARE(store.Read(GameKey(), QStringLiteral("AfterScript2")), TaggedValue(QStringLiteral("etpro\\y.cfg")));

        // "<none>" alone writes nothing, and what was there goes.
        Configs().fFillConfigCombo(combo);
        Configs().fConfigsRegSave(combo, QStringLiteral("AfterScript"));
        QVERIFY(!Configs().fConfigsRegList(names, QStringLiteral("AfterScript")));
    }

    void eachGameKeepsItsListsAndGoneFilesArePruned()
    {
        QComboBox* combo = W().cboGConfigs;
        Fill(combo, {QStringLiteral("etmain\\autoexec.cfg"), QStringLiteral("etpro\\a.cfg")}, 2);
        m_s.window->Parts().gameSelection->fApplyGameToGui(1, true);
        QCOMPARE(Entries(combo), QStringList{QStringLiteral("<none>")});
        // Back to the game, its list comes back without the file gone since.
        QVERIFY(QFile::remove(m_s.Path(QStringLiteral("et/etmain/autoexec.cfg"))));
        m_s.window->Parts().gameSelection->fApplyGameToGui(0, true);
        QCOMPARE(Entries(combo), (QStringList{"<none>", "etpro\\a.cfg"}));
        QVERIFY(m_s.stand.calls.contains(QStringLiteral("root")));

        {
            const QScopedValueRollback guard(m_s.window->State().m_comboGuard, true);
            combo->setCurrentIndex(1);
        }
        // Nothing is pruned without a valid location.
        QVERIFY(QFile::remove(m_s.Path(QStringLiteral("et/etpro/a.cfg"))));
        m_s.stand.locationValid = false;
        Configs().fRemoveMissingConfigs(combo);
        QCOMPARE(Entries(combo), (QStringList{"<none>", "etpro\\a.cfg"}));
        m_s.stand.locationValid.reset();
        Configs().fRemoveMissingConfigs(combo);
        QCOMPARE(Entries(combo), QStringList{QStringLiteral("<none>")});
        QVERIFY(!m_s.window->State().m_projectModified);
        QVERIFY(Touch(QStringLiteral("et/etmain/autoexec.cfg")) && Touch(QStringLiteral("et/etpro/a.cfg")));
    }
};

QTEST_MAIN(TstGameConfigs)
#include "tst_GameConfigs.moc"
