// The curve manager over three curves, its events in a status line, and a
// File menu whose recent entries live in a settings store of the demo's own.

#include "DemoPages.h"

#include "C3DCurveController.h"
#include "CRecentFile.h"
#include "MenuItemArray.h"
#include "UC3DCurveList.h"
#include "UC3DCurveManager.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <cstdio>
#include <memory>

namespace {

const QString kRecentKey = QStringLiteral("HKCU\\Software\\Viziviz\\Ruvadir\\Controls demo");

class CurveManagerPage : public QWidget
{
public:
    explicit CurveManagerPage(QWidget* parent) : QWidget(parent)
    {
        UseOwnStore();
        auto* layout = new QVBoxLayout(this);
        auto* bar = new QMenuBar(this);
        m_file = bar->addMenu(QStringLiteral("&File"));
        QAction* open = m_file->addAction(QStringLiteral("&Open..."));
        QAction* separator = m_file->addSeparator();
        m_file->addAction(QStringLiteral("&Forget recent files"), this, [this] {
            m_recent.ClearAll();
            m_recent.RegistrySave();
            Status(QStringLiteral("recent files forgotten"));
        });
        layout->setMenuBar(bar);

        m_manager = new UC3DCurveManager(this);
        m_manager->setObjectName(QStringLiteral("cmCurveManager"));
        m_manager->setMinimumSize(420, 180);
        m_manager->SetButtonsCaption(QStringLiteral("Add"), QStringLiteral("Remove"), QStringLiteral("Import"));
        m_manager->SetListOptionTooltips({QStringLiteral("Show the path"), QStringLiteral("Show the arrows"),
                                          QStringLiteral("Show the times"), QStringLiteral("Show the tangents")});
        layout->addWidget(m_manager);
        m_status = new QLabel(QStringLiteral("Double-click a start time, duration or name to edit it."), this);
        m_status->setObjectName(QStringLiteral("status"));
        layout->addWidget(m_status);
        layout->addStretch();

        for (const char* name : {"Intro flight", "Rocket/chase", "intro FLIGHT"}) {
            C3DCurve& curve = m_controller.Add(QString::fromLatin1(name));
            curve.SetStepRate(50);
            for (int i = 0; i < 4; ++i)
                curve.AddControl3(100.0f * i, 40.0f * (i % 2), 10, 0, 0, 0, false);
            curve.SetStartTime(12.5 * m_controller.CurveCount());
        }
        m_manager->Initialize(m_controller);
        ConnectManager();

        // The recent entries go between the separator and the last command.
        m_items = std::make_unique<MenuItemArray>(m_file, separator);
        m_recent.Init(m_items.get(), kRecentKey, 10);
        m_recent.ClearAll();
        if (!m_recent.RegistryRead()) {
            m_recent.Add(QStringLiteral("Tom & Jerry"), QStringLiteral("/home/demo/Tom & Jerry.rpj"), true);
            m_recent.Add(QStringLiteral("...\\maps\\q3dm17"), QStringLiteral("/home/demo/maps/q3dm17.rpj"), true);
            m_recent.Add(QStringLiteral("Final cut"), QStringLiteral("/home/demo/Final cut.rpj"), true);
            m_recent.RegistrySave();
        }
        QObject::connect(m_items.get(), &MenuItemArray::Clicked, this, [this](int32_t index) {
            Status(QStringLiteral("recent file %1: %2").arg(index).arg(m_items->Tag(index)));
            m_recent.MoveToTop(index);
            m_recent.RegistrySave();
        });
        QObject::connect(open, &QAction::triggered, this, [this] {
            const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"));
            if (path.isEmpty())
                return;
            m_recent.Add(QFileInfo(path).completeBaseName(), path, true);
            Status(m_recent.RegistrySave() ? QStringLiteral("saved the recent files")
                                           : QStringLiteral("could not save the recent files"));
        });
    }

    ~CurveManagerPage() override
    {
        // The manager listens to the controller: it goes first.
        delete m_manager;
    }

    UC3DCurveManager* Manager() const { return m_manager; }
    QMenu* FileMenu() const { return m_file; }
    QString StatusText() const { return m_status->text(); }

private:
    static void UseOwnStore()
    {
        // Run by hand, the demo keeps its settings out of the user's store.
        static QTemporaryDir store;
        if (qEnvironmentVariableIsEmpty("RUVADIR_REGISTRY") && store.isValid())
            qputenv("RUVADIR_REGISTRY", store.path().toUtf8());
    }

    void Status(const QString& text) { m_status->setText(text); }

    static QString NameOf(const C3DCurve* curve) { return curve != nullptr ? curve->Name() : QStringLiteral("none"); }

    void ConnectManager()
    {
        UC3DCurveManager* m = m_manager;
        QObject::connect(m, &UC3DCurveManager::SelectedCurveChanged, this,
                         [this] { Status(QStringLiteral("SelectedCurveChanged: ") + NameOf(m_manager->SelectedCurve())); });
        QObject::connect(m, &UC3DCurveManager::CurveOptionChanged, this, [this](C3DCurve& curve, int32_t option) {
            Status(QStringLiteral("CurveOptionChanged(%1, %2)").arg(curve.Name()).arg(option));
        });
        QObject::connect(m, &UC3DCurveManager::CurveAdded, this,
                         [this](C3DCurve& curve) { Status(QStringLiteral("CurveAdded(%1)").arg(curve.Name())); });
        QObject::connect(m, &UC3DCurveManager::CurveStartTimeChanged, this, [this](C3DCurve& curve) {
            Status(QStringLiteral("CurveStartTimeChanged(%1): %2").arg(curve.Name()).arg(curve.StartTime()));
        });
        QObject::connect(m, &UC3DCurveManager::CurveDurationChanged, this, [this](C3DCurve& curve) {
            Status(QStringLiteral("CurveDurationChanged(%1): %2").arg(curve.Name()).arg(curve.Duration()));
        });
        QObject::connect(m, &UC3DCurveManager::ImportClicked, this, [this] { Status(QStringLiteral("ImportClicked")); });
        QObject::connect(m, &UC3DCurveManager::EditingStateChanged, this, [this] {
            Status(QStringLiteral("EditingStateChanged: %1").arg(m_manager->Editing() ? "editing" : "not editing"));
        });
    }

    C3DCurveController m_controller;
    UC3DCurveManager* m_manager = nullptr;
    QMenu* m_file = nullptr;
    QLabel* m_status = nullptr;
    std::unique_ptr<MenuItemArray> m_items;
    CRecentFile m_recent;
};

bool SelfTest(QWidget* widget)
{
    auto* page = static_cast<CurveManagerPage*>(widget);
    auto* list = page->Manager()->findChild<UC3DCurveList*>();
    if (list == nullptr || list->ItemCount() != 3) {
        std::fprintf(stderr, "curve manager: three rows expected\n");
        return false;
    }
    // The third name clashes with the first without regard to case.
    auto* names = page->Manager()->findChild<QListWidget*>(QStringLiteral("lvwItemText"));
    if (names->item(1)->text() != QStringLiteral("Rocket_chase") || names->item(2)->text() != QStringLiteral("intro FLIGHT1")) {
        std::fprintf(stderr, "curve manager: names not made safe and unique\n");
        return false;
    }
    const QList<QAction*> actions = page->FileMenu()->actions();
    int shown = 0;
    for (int i = 2; i + 1 < actions.size(); ++i)
        shown += actions[i]->isVisible() ? 1 : 0;
    if (actions.size() != 13 || shown != 3 || !actions[1]->isVisible()) {
        std::fprintf(stderr, "curve manager: the recent entries are not between the separator and the last item\n");
        return false;
    }
    QTest::mouseClick(page->Manager()->findChild<QPushButton*>(QStringLiteral("cmdAddCurve")), Qt::LeftButton);
    if (list->ItemCount() != 4 || list->SelectedIndex() != 3 || !page->StatusText().startsWith(QStringLiteral("CurveAdded"))) {
        std::fprintf(stderr, "curve manager: adding a curve was not shown\n");
        return false;
    }
    return true;
}

const DemoPages::Registration registration({QStringLiteral("Curve manager"),
                                            [](QWidget* parent) { return new CurveManagerPage(parent); }, SelfTest});

} // namespace
