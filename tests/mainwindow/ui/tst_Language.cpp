// The window's language on the real window: every caption, tip and list
// text of the window and its secondary windows follows the language and
// comes back unchanged, an index out of range is English, the "<none>"
// items, the caption's no-title text, the resume key's list beside its
// label, the view's name in the status bar, and the string tables holding
// every text number the window uses in all three languages.

#include "MainWindowHarness.h"

#include "CTooltip.h"
#include "FrmUpdate.h"
#include "LabelEx.h"
#include "MRuvResource.h"
#include "UCTabbedFlexgrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QtTest>

#include <set>

using namespace Harness;

namespace {

constexpr int32_t English = MRuvResource::LanguageEnglish;
constexpr int32_t German = MRuvResource::LanguageGerman;

QString Path(const QObject* object, const QObject* root)
{
    QStringList parts;
    for (const QObject* o = object; o && o != root; o = o->parent())
        parts.prepend(o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName());
    return parts.join(QLatin1Char('/'));
}

// "path what" -> text, for every text a user can read on the window.
using Snapshot = QList<QPair<QString, QString>>;

void Describe(QWidget* root, const QString& rootName, Snapshot& out)
{
    QList<QWidget*> widgets{root};
    widgets += root->findChildren<QWidget*>();
    for (QWidget* x : widgets) {
        // The middle field shows passing messages.
        if (x->objectName() == QLatin1String("lblMiddleStatus"))
            continue;
        const QString id = rootName + QLatin1Char(':') + Path(x, root);
        const auto add = [&](const char* what, const QString& text) {
            if (!text.isEmpty())
                out << qMakePair(id + QLatin1Char(' ') + QLatin1String(what), text);
        };
        if (x->isWindow())
            add("title", x->windowTitle());
        add("tip", x->toolTip());
        if (x->objectName() == QLatin1String("lblScaleLabel"))
            // Its number is the view's width in the map's units.
            add("unit", qobject_cast<QLabel*>(x)->text().section(QLatin1Char(' '), 0, 0));
        else if (auto* label = qobject_cast<QLabel*>(x))
            add("text", label->text());
        else if (auto* button = qobject_cast<QAbstractButton*>(x))
            add("text", button->text());
        else if (auto* group = qobject_cast<QGroupBox*>(x))
            add("title", group->title());
        else if (auto* labelEx = qobject_cast<LabelEx*>(x))
            add("caption", labelEx->Caption());
        else if (auto* combo = qobject_cast<QComboBox*>(x)) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            add("items", items.join(QLatin1Char('|')));
        } else if (auto* bar = qobject_cast<QTabBar*>(x)) {
            for (int i = 0; i < bar->count(); ++i)
                add(qPrintable(QStringLiteral("tab%1").arg(i)), bar->tabText(i));
        }
    }
    for (CTooltip* tip : root->findChildren<CTooltip*>()) {
        const QString id = rootName + QLatin1Char(':') + Path(tip, root);
        out << qMakePair(id + QStringLiteral(" balloon"), tip->Title() + QLatin1Char('|') + tip->Text());
    }
}

Snapshot Take(FrmMain& w)
{
    Snapshot out;
    MainControls& c = w.Controls();
    Describe(&w, QStringLiteral("main"), out);
    // The secondary windows that the window does not own as children.
    const QList<QPair<QWidget*, QString>> others{{c.m_aboutForm.get(), QStringLiteral("about")},
                                                 {c.m_notesForm.get(), QStringLiteral("notes")},
                                                 {c.mDemosForm.get(), QStringLiteral("demos")},
                                                 {c.m_gameConfigsForm.get(), QStringLiteral("configs")},
                                                 {c.m_gameSettingsForm.get(), QStringLiteral("settings")}};
    for (const auto& [window, name] : others)
        if (!w.isAncestorOf(window))
            Describe(window, name, out);
    for (QMenu* menu : w.Menus().Menus()) {
        out << qMakePair(QStringLiteral("menu ") + menu->objectName(), menu->title());
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                out << qMakePair(QStringLiteral("item ") + a->objectName(), a->text() + QLatin1Char('|') + a->toolTip());
    }
    UCTabbedFlexgrid* grids = w.Widgets().tabbedFlexgrid;
    for (int32_t i = 0; i < grids->ItemCount(); ++i)
        out << qMakePair(QStringLiteral("grid%1 header tips").arg(i), grids->Wrappers(i).HeaderTooltips().join('|'));
    for (int32_t slot = 1; slot <= 17; ++slot)
        if (CTooltip* tip = w.Parts().tooltips->Balloon(slot))
            out << qMakePair(QStringLiteral("balloon %1").arg(slot), tip->Title() + QLatin1Char('|') + tip->Text());
    return out;
}

QStringList Keys(const Snapshot& s)
{
    QStringList keys;
    for (const auto& [key, text] : s)
        keys << key;
    return keys;
}

QString Table(int32_t base, int32_t id)
{
    return MRuvResource::GetResString(base, id);
}

}  // namespace

class TstLanguage : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    std::shared_ptr<RecordingDialogs> m_dialogs;
    std::unique_ptr<FrmMain> m_window;

    FrmMain& W() { return *m_window; }
    ILanguage& L() { return *m_window->Parts().language; }

private slots:
    void initTestCase()
    {
        m_store = std::make_unique<TempStore>();
        RegisterLibraries();
        MArrayConvert::SetCommandLineText(QString());
        m_dialogs = std::make_shared<RecordingDialogs>();
        QCOMPARE(ProgramStart::StartMainWindow(Services(m_dialogs), m_window), 0);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        W().Controls().m_aboutForm->hide();
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_store.reset();
    }
    void cleanup() { L().mnuVL_Lang_Click(0); }

    void germanThenEnglishRestoresEveryText()
    {
        const Snapshot english = Take(W());
        QVERIFY(english.size() > 150);
        QCOMPARE(W().Widgets().cbo3DViewRatio->itemText(0), Table(English, 278));

        L().mnuVL_Lang_Click(2);
        QCOMPARE(W().Texts().LanguageBase(), German);
        const Snapshot german = Take(W());
        // No caption goes blank, and the language shows throughout.
        QCOMPARE(Keys(german), Keys(english));
        int changed = 0;
        for (qsizetype i = 0; i < english.size(); ++i)
            changed += english[i].second != german[i].second;
        QVERIFY2(changed > 100, qPrintable(QString::number(changed)));
        const QString none = QLatin1Char('<') + Table(German, 281) + QLatin1Char('>');
        for (QComboBox* combo : {W().Widgets().cboSCmdsBefore, W().Widgets().cboSCmdsAfter, W().Widgets().cboGConfigs})
            if (combo->count() > 0)
                QCOMPARE(combo->itemText(0), none);
        QCOMPARE(W().Widgets().cbo3DViewRatio->itemText(0), Table(German, 278));
        QCOMPARE(W().Widgets().tabControl->tabText(3), Table(German, 46) + QStringLiteral(" 2"));
        QCOMPARE(W().Controls().m_gameSettingsForm->windowTitle(), QLatin1Char(' ') + Table(German, 111));
        const QStringList all = [&] {
            QStringList texts;
            for (const auto& [key, text] : german)
                if (key.contains(QLatin1String("FrmGameSettings")) || key.startsWith(QLatin1String("settings:")))
                    texts << text;
            return texts;
        }();
        for (const QString& expected : {Table(German, 115) + QStringLiteral(" :"), Table(German, 126) + QStringLiteral(" :"),
                                        Table(German, 114), Table(German, 155)})
            QVERIFY2(all.contains(expected), qPrintable(expected));

        L().mnuVL_Lang_Click(0);
        const Snapshot back = Take(W());
        for (qsizetype i = 0; i < english.size() && i < back.size(); ++i)
            QCOMPARE(back[i], english[i]);
        QCOMPARE(back.size(), english.size());
    }

    void qtsOwnTextsFollowTheLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("buttons");  // Yes, No, Cancel of a message box
        QTest::addColumn<QString>("fileCancel");
        QTest::newRow("French") << 1 << QStringList{"&Oui", "&Non", "Annuler"} << "Annuler";
        QTest::newRow("German") << 2 << QStringList{"&Ja", "&Nein", "Abbrechen"} << "Abbrechen";
        // Back from another language.
        QTest::newRow("English") << 0 << QStringList{"&Yes", "&No", "Cancel"} << "Cancel";
    }
    void qtsOwnTextsFollowTheLanguage()
    {
        QFETCH(int, language);
        QFETCH(QStringList, buttons);
        QFETCH(QString, fileCancel);
        L().mnuVL_Lang_Click(language == 0 ? 1 : 0);
        L().mnuVL_Lang_Click(language);
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("p"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &W());
        QCOMPARE((QStringList{box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text(),
                              box.button(QMessageBox::Cancel)->text()}),
                 buttons);
        QFileDialog dialog(&W());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* bar = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QVERIFY(bar);
        QCOMPARE(bar->button(QDialogButtonBox::Cancel)->text(), fileCancel);
    }

    void theUpdateWindowOpensInTheLanguage()
    {
        L().mnuVL_Lang_Click(2);
        QString title;
        QString infos;
        QTimer::singleShot(0, &W(), [&] {
            FrmUpdate* update = nullptr;
            const auto ready = [&] {
                update = W().findChild<FrmUpdate*>();
                return update && update->isVisible() && !update->IsBusy()
                       && update->findChild<QPushButton*>(QStringLiteral("cmdOk"))->isEnabled()
                       && !update->findChild<QLabel*>(QStringLiteral("lblInfos"))->text().isEmpty();
            };
            if (!QTest::qWaitFor(ready, 10000))
                return;
            title = update->windowTitle();
            infos = update->findChild<QLabel*>(QStringLiteral("lblInfos"))->text();
            QTest::mouseClick(update->findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
        });
        W().Menus().Action(QStringLiteral("mnuH_CheckForUpdate"))->trigger();
        QVERIFY2(title.contains(Table(German, 103)), qPrintable(title));
        QVERIFY2(infos.startsWith(Table(German, 109)), qPrintable(infos));
    }

    void anIndexOutOfRangeIsEnglish_data()
    {
        QTest::addColumn<int32_t>("index");
        QTest::addColumn<int32_t>("base");
        QTest::newRow("French") << 1 << 1000;
        QTest::newRow("5") << 5 << 0;
        QTest::newRow("3") << 3 << 0;
        QTest::newRow("-1") << -1 << 0;
    }
    void anIndexOutOfRangeIsEnglish()
    {
        QFETCH(int32_t, index);
        QFETCH(int32_t, base);
        const Snapshot english = Take(W());
        L().mnuVL_Lang_Click(2);
        L().mnuVL_Lang_Click(index);
        QCOMPARE(W().Texts().LanguageBase(), base);
        QCOMPARE(L().fGetLanguageIndex(), base / 1000);
        for (int32_t i = 0; i < MainMenus::LanguageCount; ++i)
            QCOMPARE(W().Menus().Language(i)->isChecked(), i == base / 1000);
        if (base == 0)
            QCOMPARE(Take(W()), english);
    }

    void anEmptyComboGetsNoNoneItem()
    {
        QComboBox* before = W().Widgets().cboSCmdsBefore;
        const QStringList items = [&] {
            QStringList texts;
            for (int i = 0; i < before->count(); ++i)
                texts << before->itemText(i);
            return texts;
        }();
        before->clear();
        L().mnuVL_Lang_Click(1);
        QCOMPARE(before->count(), 0);
        L().fLocalizeNoneItem(before);
        QCOMPARE(before->count(), 0);
        before->addItems(items);
    }

    void theNoTitleCaptionFollowsTheLanguage()
    {
        for (int32_t index : {2, 1, 0}) {
            L().mnuVL_Lang_Click(index);
            QVERIFY2(W().windowTitle().endsWith(QLatin1Char(' ') + Table(index * 1000, 98)),
                     qPrintable(W().windowTitle()));
        }
        W().fUpdateCaption(QStringLiteral("intro"));
        L().mnuVL_Lang_Click(1);
        QVERIFY(W().windowTitle().endsWith(QStringLiteral(" - intro")));
        W().fUpdateCaption(QString());
    }

    void aTextTakesItsArgumentsAndLineBreaks()
    {
        QCOMPARE(W().Texts().fGetText(80, QStringLiteral("Alt+M")),
                 QStringLiteral("The Alt+M hotkey cannot be registered.\r\nAnother application could use this key "
                                "already. Please try another one."));
        // Without arguments the placeholder stays.
        QVERIFY(W().Texts().fGetText(80).startsWith(QStringLiteral("The %% hotkey")));
        // A text only the English table has is shown in English.
        L().mnuVL_Lang_Click(2);
        QVERIFY(!MRuvResource::HasResString(German + 10000));
        QCOMPARE(W().Texts().fGetText(10000), Table(English, 10000));
    }

    void theResumeKeyListStandsBesideItsLabel()
    {
        QLabel* label = W().Widgets().lblSScriptPauseResumeKey;
        QComboBox* combo = W().Widgets().cboSScriptPauseKey;
        W().Parts().layout->fSelectTabPage(2);
        for (int32_t index : {1, 2, 0}) {
            L().mnuVL_Lang_Click(index);
            QCOMPARE(label->text(), Table(index * 1000, 60) + QStringLiteral(" : "));
            const auto gap = [&] { return combo->x() - label->x() - label->fontMetrics().horizontalAdvance(label->text()); };
            QTRY_COMPARE(gap(), 2);
        }
    }

    void theStatusBarNamesTheActiveView()
    {
        for (int32_t view : {0, 3, 2}) {
            W().Parts().viewInput->fActivateView(view);
            L().mnuVL_Lang_Click(2);
            QCOMPARE(W().Widgets().lblRightStatus->text(), Table(German, 99 + view));
            L().mnuVL_Lang_Click(0);
        }
    }

    void everyTextNumberExistsInAllThreeTables()
    {
        // The numbers the window's sources name, and those it computes.
        std::set<int32_t> ids{99, 100, 101, 102, 281, 278, 283, 57};
        for (int32_t id = 113; id <= 155; ++id)
            ids.insert(id);
        const QRegularExpression use(QStringLiteral(R"((?:Text|Ampersand)\(\s*(\d+)|GetResString\([^,()]+,\s*(\d+))"));
        int files = 0;
        for (const char* folder : {"mainwindow", "games/ui"}) {
            QDirIterator it(QStringLiteral(RUV_SOURCE_DIR "/") + QLatin1String(folder), {QStringLiteral("*.cpp")});
            while (it.hasNext()) {
                QFile file(it.next());
                QVERIFY(file.open(QIODevice::ReadOnly));
                ++files;
                const QString text = QString::fromUtf8(file.readAll());
                for (const QRegularExpressionMatch& m : use.globalMatch(text))
                    ids.insert((m.captured(1).isEmpty() ? m.captured(2) : m.captured(1)).toInt());
            }
        }
        QVERIFY(files > 20);
        QVERIFY(ids.size() > 140);
        for (int32_t id : ids)
            for (int32_t base : {English, MRuvResource::LanguageFrench, German})
                QVERIFY2(MRuvResource::HasResString(base + id), qPrintable(QString::number(base + id)));
    }
};

QTEST_MAIN(TstLanguage)
#include "tst_Language.moc"
