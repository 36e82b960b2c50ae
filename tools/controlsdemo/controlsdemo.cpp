// A look at the reusable controls: one tab per control page.
//
//   controlsdemo
//   controlsdemo --self-test [--screenshots DIR]
//
// --self-test shows every page in turn, runs its own check, saves it as
// <title>.png when asked, and exits 0 when every page passed.

#include "DemoPages.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace DemoPages {
std::vector<Page>& All()
{
    static std::vector<Page> pages;
    return pages;
}
} // namespace DemoPages

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool selfTest = args.contains(QStringLiteral("--self-test"));
    const int shotsAt = static_cast<int>(args.indexOf(QStringLiteral("--screenshots")));
    const QString shots = shotsAt > 0 && shotsAt + 1 < args.size() ? args.at(shotsAt + 1) : QString();

    std::vector<DemoPages::Page> pages = DemoPages::All();
    std::sort(pages.begin(), pages.end(),
              [](const DemoPages::Page& a, const DemoPages::Page& b) { return a.title < b.title; });

    QTabWidget tabs;
    tabs.setWindowTitle(QStringLiteral("Ruvadir controls"));
    for (const DemoPages::Page& page : pages)
        tabs.addTab(page.make(&tabs), page.title);
    tabs.resize(900, 640);
    tabs.show();
    if (!selfTest)
        return app.exec();

    if (!QTest::qWaitForWindowExposed(&tabs)) {
        std::fprintf(stderr, "controlsdemo: the window was never shown\n");
        return 1;
    }
    if (!shots.isEmpty())
        QDir().mkpath(shots);
    int failures = 0;
    for (int i = 0; i < tabs.count(); ++i) {
        tabs.setCurrentIndex(i);
        QTest::qWait(50);
        QWidget* page = tabs.widget(i);
        const DemoPages::Page& def = pages[static_cast<size_t>(i)];
        const bool ok = !def.selfTest || def.selfTest(page);
        std::printf("%s: %s\n", qPrintable(def.title), ok ? "ok" : "FAILED");
        failures += ok ? 0 : 1;
        if (!shots.isEmpty())
            tabs.grab().save(QDir(shots).filePath(def.title + QStringLiteral(".png")));
    }
    return failures == 0 ? 0 : 1;
}
