// A look at the game windows until the main window opens them: the game
// settings window (Game > Settings) and the game configuration window (the
// configurations button), on the five built-in games and their settings in
// the store.
//
//   gamewindows
//   gamewindows --self-test [--screenshots DIR]
//
// --self-test opens each window in turn, saves it as <name>.png when asked,
// closes it with Cancel and exits 0 when both came up.

#include "FrmGameConfigs.h"
#include "FrmGameSettings.h"
#include "GamesTestSupport.h"
#include "MFileOp.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdio>

namespace {

struct Shell
{
    // The same table as the game tests use.
    std::array<CGameDefinition, 5> games{MakeGame(0), MakeGame(1), MakeGame(2), MakeGame(3), MakeGame(4)};
    QWidget window;
    QComboBox* game = new QComboBox(&window);
    QPushButton* settings = new QPushButton(QStringLiteral("Settings..."), &window);
    QPushButton* configs = new QPushButton(QStringLiteral("Configurations..."), &window);
    FrmGameSettings settingsWindow{&window};
    FrmGameConfigs configsWindow{&window};

    Shell()
    {
        window.setWindowTitle(QStringLiteral("Ruvadir game windows"));
        auto* row = new QHBoxLayout(&window);
        row->addWidget(game);
        row->addWidget(settings);
        row->addWidget(configs);
        for (CGameDefinition& g : games) {
            g.ReadSettings();
            game->addItem(g.FriendlyName());
        }
        QObject::connect(settings, &QPushButton::clicked, &window, [this] { OpenSettings(); });
        QObject::connect(configs, &QPushButton::clicked, &window, [this] { OpenConfigs(); });
    }

    void OpenSettings()
    {
        settingsWindow.ShowForm(&window, game->currentIndex(), games);
        if (settingsWindow.Canceled())
            return;
        for (const CGameDefinition& g : games)
            g.WriteSettings();
    }

    void OpenConfigs()
    {
        const CGameDefinition& g = games[static_cast<size_t>(game->currentIndex())];
        const CCamPosSetting& recorder = g.ScriptSetting();
        configsWindow.RefreshConfigs(MFileOp::GetFolderPart(g.ExeFullPath()), {g.ModDirBasename(), g.BaseDir()}, {},
                                     recorder.SavingRelativeDir() + QLatin1Char(';') + recorder.ScriptsRelativeDir());
        configsWindow.SetPosition(configs);
        configsWindow.exec();
        QStringList picked;
        if (!configsWindow.Canceled() && configsWindow.GetSelected(picked))
            std::printf("%s\n", qPrintable(picked.join(QLatin1Char('\n'))));
    }
};

// Runs `open` (which shows a modal window) and, once `dialog` is on the
// screen, saves it and presses its Cancel button.
bool LookAndCancel(QDialog& dialog, const QString& shots, const QString& name, const std::function<void()>& open)
{
    bool shown = false;
    QTimer::singleShot(0, &dialog, [&] {
        shown = QTest::qWaitForWindowExposed(&dialog);
        QTest::qWait(100);
        if (!shots.isEmpty())
            dialog.grab().save(QDir(shots).filePath(name + QStringLiteral(".png")));
        if (auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel")))
            cancel->click();
        else
            dialog.reject();
    });
    open();
    std::printf("%s: %s\n", qPrintable(name), shown ? "ok" : "FAILED");
    return shown;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool selfTest = args.contains(QStringLiteral("--self-test"));
    const int shotsAt = static_cast<int>(args.indexOf(QStringLiteral("--screenshots")));
    const QString shots = shotsAt > 0 && shotsAt + 1 < args.size() ? args.at(shotsAt + 1) : QString();

    Shell shell;
    shell.window.show();
    if (!selfTest)
        return app.exec();

    if (!QTest::qWaitForWindowExposed(&shell.window)) {
        std::fprintf(stderr, "gamewindows: the window was never shown\n");
        return 1;
    }
    if (!shots.isEmpty())
        QDir().mkpath(shots);
    bool ok = true;
    for (int type : {0, 1}) {
        shell.game->setCurrentIndex(type);
        ok &= LookAndCancel(shell.settingsWindow, shots, QStringLiteral("settings-%1").arg(type),
                            [&] { shell.OpenSettings(); });
    }
    ok &= LookAndCancel(shell.configsWindow, shots, QStringLiteral("configs"), [&] { shell.OpenConfigs(); });
    return ok ? 0 : 1;
}
