// The main window's settings in a store of the test's own: the first
// start, values that are wrong or out of range, a damaged store, and every
// value changed, saved at close and read back at the next start, and a
// store that cannot be saved, which the user is told of once.

#include "MainWindowHarness.h"

#include "CFramerateHandler.h"
#include "CRecentFile.h"
#include "MArrayConvert.h"
#include "MRegistry.h"
#include "MenuItemArray.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <unistd.h>

using namespace Harness;

namespace {

const QString kApp = QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir");
const QString kEtPro = QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir\\Games settings\\ET Pro");
const QString kEtQw = QStringLiteral("HKLM\\Software\\Viziviz\\Ruvadir\\Games settings\\ET QW");

void Put(const QString& name, int32_t type, const TaggedValue& value, const QString& key = kApp)
{
    QVERIFY(MRegistry::RegWrite(key, name, type, value));
}

// What a started window shows of its settings.
struct Shown
{
    int language = -1;
    int32_t languageBase = -1;
    int theme = -1;
    int game = -1;
    bool freecam = false;
    bool magnetize = false;
    bool wireframe = false;
    QList<bool> views;
    int ratio = -1;
    bool minimizer = false;
    QString hotkey;
    QString exportDir;
    QString loader;
    QString rates;
    int32_t defaultRate = 0;
    QStringList recent;

    bool operator==(const Shown&) const = default;
};

Shown Read(FrmMain& w)
{
    Shown s;
    s.language = w.Parts().language->fGetLanguageIndex();
    s.languageBase = w.Texts().LanguageBase();
    s.theme = w.Menus().fGetMenuTheme();
    s.game = w.State().m_activeGame ? w.State().m_activeGame->GType() : -1;
    s.freecam = w.Widgets().chkSIncFreecam->isChecked();
    s.magnetize = w.Menus().Action(QStringLiteral("mnuMapMagnetize"))->isChecked();
    s.wireframe = w.Menus().Action(QStringLiteral("mnuMap_WireframeOnly"))->isChecked();
    for (const CView& v : w.State().m_views)
        s.views << v.ShowGrid() << v.EnableAA() << v.ShowRuler();
    s.ratio = w.Widgets().cbo3DViewRatio->currentIndex();
    s.minimizer = w.Widgets().chkGMinimizerEnabled->isChecked();
    s.hotkey = w.Parts().gameMinimizer->fMinimizerHotkeyText();
    s.exportDir = w.State().m_defaultExportDir;
    s.loader = w.State().m_sShotLoader;
    s.rates = w.Controls().mFramerateHandler->BuildValuesString(true);
    s.defaultRate = w.Controls().mFramerateHandler->DefaultValue();
    w.Controls().m_recentFiles->GetDatas(CRecentFile::ModePairs, s.recent);
    return s;
}

}  // namespace

class TstSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    FrmMain* Start(MainServices services = MakeRealServices())
    {
        m_window.reset();
        MArrayConvert::SetCommandLineText(QString());
        if (ProgramStart::StartMainWindow(std::move(services), m_window, std::make_unique<FakeFactory>(m_fake)) != 0)
            return nullptr;
        return QTest::qWaitForWindowExposed(m_window.get()) ? m_window.get() : nullptr;
    }
    bool CloseAndWait()
    {
        m_window->close();
        return QTest::qWaitFor([this] { return m_window->IsClosedDown(); });
    }

private slots:
    void init()
    {
        m_store = std::make_unique<TempStore>();
        RegisterLibraries();
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
    }

    void theFirstStartGivesTheDefaults()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        const Shown s = Read(*w);
        QCOMPARE(s.language, 0);
        QCOMPARE(s.languageBase, 0);
        QCOMPARE(s.theme, 2);
        QCOMPARE(s.game, 0);
        QVERIFY(!s.freecam && !s.magnetize && !s.wireframe && !s.minimizer);
        QCOMPARE(s.views, QList<bool>(12, false));
        QCOMPARE(s.ratio, 0);
        // The built-in rates are written under the game's key at once.
        QCOMPARE(MRegistry::RegRead(kEtPro, QStringLiteral("AviDemos")),
                 TaggedValue(QStringLiteral("25;30;50;60;75;90;100")));
        QCOMPARE(s.rates, QStringLiteral("25;30;50;60;75;90;100;"));
    }

    void wholeNumbersAreStoredAsTheirMagnitude()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        MainSettings& settings = *w->Parts().settings;
        settings.fRegWriteLong(kApp, QStringLiteral("Probe"), -5);
        QCOMPARE(MRegistry::RegRead(kApp, QStringLiteral("Probe")), TaggedValue(5));
        int16_t read = 0;
        settings.fRegReadInt(kApp, QStringLiteral("Probe"), 9, read);
        QCOMPARE(read, int16_t(5));
        settings.fRegReadInt(kApp, QStringLiteral("Missing"), 9, read);
        QCOMPARE(read, int16_t(9));
        bool flag = false;
        settings.fRegWriteBool(kApp, QStringLiteral("Flag"), true);
        QCOMPARE(MRegistry::RegRead(kApp, QStringLiteral("Flag")), TaggedValue(1));
        settings.fRegReadBool(kApp, QStringLiteral("Flag"), false, flag);
        QVERIFY(flag);
        settings.fRegReadBool(kApp, QStringLiteral("Missing"), true, flag);
        QVERIFY(flag);
    }

    void wrongValuesGiveZeroOrTheDefault_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("value");  // a number (DWORD) or a text
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("expected");
        QTest::newRow("DefaultMod 7") << "DefaultMod" << QVariant(7) << "game" << 0;
        QTest::newRow("DefaultMod 3") << "DefaultMod" << QVariant(3) << "game" << 3;
        QTest::newRow("DefaultMod text") << "DefaultMod" << QVariant(QStringLiteral("RTCW")) << "game" << 0;
        QTest::newRow("ratio 9") << "Default3dViewRatio" << QVariant(9) << "ratio" << 0;
        QTest::newRow("ratio 2") << "Default3dViewRatio" << QVariant(2) << "ratio" << 2;
        QTest::newRow("ratio beyond 16 bits") << "Default3dViewRatio" << QVariant(65538) << "ratio" << 0;
        QTest::newRow("language 2") << "Language" << QVariant(2) << "language" << 2;
        QTest::newRow("language 5") << "Language" << QVariant(5) << "language" << 0;
        QTest::newRow("language text") << "Language" << QVariant(QStringLiteral("German")) << "language" << 0;
        QTest::newRow("language as text digits") << "Language" << QVariant(QStringLiteral("1")) << "language" << 1;
        QTest::newRow("theme 1") << "MenuTheme" << QVariant(1) << "theme" << 1;
        QTest::newRow("theme 9") << "MenuTheme" << QVariant(9) << "theme" << 2;
        QTest::newRow("theme text") << "MenuTheme" << QVariant(QStringLiteral("flat")) << "theme" << 0;
        QTest::newRow("boolean 5") << "IncludeFreecam" << QVariant(5) << "freecam" << 1;
        QTest::newRow("boolean text") << "IncludeFreecam" << QVariant(QStringLiteral("yes")) << "freecam" << 0;
    }
    void wrongValuesGiveZeroOrTheDefault()
    {
        QFETCH(QString, name);
        QFETCH(QVariant, value);
        QFETCH(QString, what);
        QFETCH(int, expected);
        if (value.typeId() == QMetaType::QString)
            Put(name, MRegistry::RegSz, TaggedValue(value.toString()));
        else
            Put(name, MRegistry::RegDword, TaggedValue(static_cast<int32_t>(value.toInt())));
        FrmMain* w = Start();
        QVERIFY(w);
        const Shown s = Read(*w);
        const QHash<QString, int> shown = {{"game", s.game},         {"ratio", s.ratio},
                                           {"language", s.language}, {"theme", s.theme},
                                           {"freecam", s.freecam ? 1 : 0}};
        QCOMPARE(shown.value(what), expected);
        if (what == QLatin1String("language"))
            QCOMPARE(s.languageBase, expected * 1000);
    }

    void aDamagedStoreGivesTheDefaultsAndIsRewrittenWhole()
    {
        {
            QFile file(m_store->File());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<registry><key name=\"HKEY_LOCAL_MACHINE\"><value name=broken");
        }
        FrmMain* w = Start();
        QVERIFY(w);
        QCOMPARE(Read(*w).theme, 2);
        QCOMPARE(Read(*w).game, 0);
        QVERIFY(CloseAndWait());
        QStringList names;
        QList<int32_t> types;
        QVERIFY(MRegistry::RegListValues(kApp, names, types));
        QCOMPARE(names.size(), 23);
        QCOMPARE(MRegistry::RegRead(kApp, QStringLiteral("MenuTheme")), TaggedValue(2));
    }

    void settingsThatCannotBeSavedAreToldOnceWithTheirCause()
    {
        auto dialogs = std::make_shared<RecordingDialogs>();
        FrmMain* w = Start(Services(dialogs));
        QVERIFY(w);
        w->Menus().fSetMenuTheme(1);
        // The settings folder takes no new file; root, who writes into a
        // read-only folder, is refused by an immutable one.
        const QString folder = m_store->Path();
        const QString chattr = QStandardPaths::findExecutable(
            QStringLiteral("chattr"), {QStringLiteral("/usr/bin"), QStringLiteral("/bin"), QStringLiteral("/sbin")});
        const auto lock = [&](bool on) {
            if (geteuid() == 0)
                return QProcess::execute(chattr, {on ? QStringLiteral("+i") : QStringLiteral("-i"), folder}) == 0;
            return QFile::setPermissions(folder, on ? QFile::ReadOwner | QFile::ExeOwner
                                                    : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        };
        const bool locked = lock(true);
        const auto unlock = qScopeGuard([&] { lock(false); });
        QFile probe(folder + QStringLiteral("/probe"));
        if (!locked || probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("no folder here refuses a new file");
        }
        const QByteArray before = [&] {
            QFile file(m_store->File());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        dialogs->boxes.clear();
        QVERIFY(CloseAndWait());
        QCOMPARE(dialogs->boxes.size(), 1);
        QCOMPARE(dialogs->boxes[0].title, QStringLiteral(" Settings"));
        QCOMPARE(dialogs->boxes[0].prompt,
                 QStringLiteral("The settings could not be saved.\r\nThe settings folder \"") + folder
                     + QStringLiteral("\" takes no new file: it is read-only, or the disk is full."));
        QFile file(m_store->File());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void everyValueComesBackAfterARestart()
    {
        FrmMain* w = Start();
        QVERIFY(w);
        w->Parts().language->mnuVL_Lang_Click(1);
        w->Menus().fSetMenuTheme(1);
        w->Widgets().chkSIncFreecam->setChecked(true);
        w->Menus().Action(QStringLiteral("mnuMapMagnetize"))->setChecked(true);
        w->Menus().Action(QStringLiteral("mnuMap_WireframeOnly"))->setChecked(true);
        for (size_t i = 0; i < 4; ++i) {
            CView& v = w->State().m_views[i];
            v.SetShowGrid(i % 2 == 0);
            v.SetEnableAA(i >= 2);
            v.SetShowRuler(i == 1 || i == 3);
        }
        w->Parts().layout->fSetViewRatioIndex(2, true);
        w->Widgets().chkGMinimizerEnabled->setChecked(true);
        w->Parts().gameMinimizer->fFillMinimizerHotkeys(QStringLiteral("Alt+K"));
        w->State().m_defaultExportDir = QStringLiteral("/home/u/export");
        w->State().m_sShotLoader = QStringLiteral("/usr/bin/kdenlive");
        // Another game: its lists are read, and saved at close.
        w->Parts().gameSelection->fApplyGameToGui(4, true);
        std::vector<int32_t> rates{30, 60, 120};
        w->Controls().mFramerateHandler->LoadGlobalValues(rates);
        w->Controls().mFramerateHandler->SetDefaultValue(TaggedValue(60));
        w->Controls().m_recentFiles->Add(QStringLiteral("intro"), QStringLiteral("/home/u/intro.vava"), true);
        const Shown before = Read(*w);
        QCOMPARE(before.game, 4);
        QVERIFY(CloseAndWait());

        FrmMain* again = Start();
        QVERIFY(again);
        const Shown after = Read(*again);
        QCOMPARE(after.views, before.views);
        QCOMPARE(after.recent, before.recent);
        QCOMPARE(after.rates, before.rates);
        QVERIFY(after == before);
        QCOMPARE(again->windowTitle(), QStringLiteral(" Ruvadir [ET QW] ") + again->Texts().fGetText(98));

        // The values, their types and their order.
        QStringList names;
        QList<int32_t> types;
        QVERIFY(MRegistry::RegListValues(kApp, names, types));
        QStringList expected = {"DefaultExportDir", "SShotLoader", "Language", "MenuTheme", "IncludeFreecam",
                                "DefaultMod", "MapMagnetize", "Map3dWireframe"};
        for (int i = 0; i < 4; ++i)
            for (const char* what : {"ShowGrid", "AntiAliasing", "ShowRuler"})
                expected << QStringLiteral("View%1%2").arg(i).arg(QLatin1String(what));
        expected << "Default3dViewRatio" << "MzEnabled" << "MzHotkey";
        QCOMPARE(names, expected);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const bool text = names[i] == QLatin1String("DefaultExportDir") || names[i] == QLatin1String("SShotLoader")
                              || names[i] == QLatin1String("MzHotkey");
            QCOMPARE(types[i], text ? int32_t(MRegistry::RegSz) : int32_t(MRegistry::RegDword));
        }
        QCOMPARE(MRegistry::RegRead(kApp, QStringLiteral("Language")), TaggedValue(1));
        QCOMPARE(MRegistry::RegRead(kApp, QStringLiteral("DefaultMod")), TaggedValue(4));
        QCOMPARE(MRegistry::RegRead(kEtQw, QStringLiteral("DefaultAviDemo")), TaggedValue(60));
        QCOMPARE(MRegistry::RegRead(kEtQw, QStringLiteral("RecentFile1")),
                 TaggedValue(QStringLiteral("intro|/home/u/intro.vava")));
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
