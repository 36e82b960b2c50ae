// Fills the demo browser's tree from a demo folder of 200 sub-folders of 50
// demos each, a third of the demos with a note, and beside it, in the same
// run, the least any such tree costs: the same walk with QDirIterator, one
// look at each demo's note file, and the nodes added to a bare QTreeWidget.
// Everything runs on the calling thread. Target: the ratio 2 or less.
#include "FrmDemos.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "BenchTiming.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr int Folders = 200;
constexpr int DemosPerFolder = 50;

template <class F>
double MedianMilliseconds(F&& work)
{
    return bench::MedianMilliseconds(Runs, work);
}

bool MakeDemos(const QString& root)
{
    int n = 0;
    for (int f = 0; f < Folders; ++f) {
        const QString folder = root + QStringLiteral("/match %1").arg(f);
        if (!QDir().mkpath(folder))
            return false;
        for (int d = 0; d < DemosPerFolder; ++d, ++n) {
            const QString demo = folder + QStringLiteral("/round%1.dm_84").arg(d);
            QFile file(demo);
            if (!file.open(QIODevice::WriteOnly) || file.write("demo") != 4)
                return false;
            if (n % 3 == 0) {
                QFile note(demo + QStringLiteral(".txt"));
                if (!note.open(QIODevice::WriteOnly) || note.write("a note") != 6)
                    return false;
            }
        }
    }
    return true;
}

// The floor: the walk, one look at each demo's note, the nodes.
int FloorFill(QTreeWidget& tree, const QString& folder, QTreeWidgetItem* parent, QList<QTreeWidgetItem*>& top)
{
    int nodes = 0;
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        if (!entry.isDir() && !entry.fileName().endsWith(QLatin1String(".dm_84")))
            continue;
        auto* node = new QTreeWidgetItem;
        node->setText(0, entry.fileName());
        if (parent)
            parent->addChild(node);
        else
            top << node;
        ++nodes;
        if (entry.isDir())
            nodes += FloorFill(tree, entry.filePath(), node, top);
        else
            node->setData(0, Qt::UserRole, QFileInfo(entry.filePath() + QStringLiteral(".txt")).size() > 0 ? 5 : 4);
    }
    return nodes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid() || !MakeDemos(dir.path())) {
        std::fprintf(stderr, "cannot make the demo folder\n");
        return 1;
    }

    FrmDemos window(nullptr);
    window.SetRootDirectory(dir.path(), QStringLiteral("dm_??"));
    const double browser = MedianMilliseconds([&] { window.RefreshDemoList(); });
    int nodes = 0;
    for (QTreeWidgetItemIterator it(window.Tree()); *it; ++it)
        ++nodes;

    QTreeWidget tree;
    int floorNodes = 0;
    const double floor = MedianMilliseconds([&] {
        tree.clear();
        QList<QTreeWidgetItem*> top;
        floorNodes = FloorFill(tree, dir.path(), nullptr, top);
        tree.addTopLevelItems(top);
    });

    std::printf("demo tree: %d folders of %d demos, a third with notes (%d nodes; floor %d)\n", Folders,
                DemosPerFolder, nodes, floorNodes);
    std::printf("  RefreshDemoList        %8.2f ms (median of %d)\n", browser, Runs);
    std::printf("  QDirIterator floor     %8.2f ms (median of %d)\n", floor, Runs);
    std::printf("  ratio                  %8.2f (target 2 or less)\n", floor > 0 ? browser / floor : 0.0);
    return 0;
}
