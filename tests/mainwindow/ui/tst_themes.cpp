// The menu themes and the menus' pictures, drawn for real.

#include "MainWindowHarness.h"

#include "MenuDecorator.h"

#include <QAction>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include <set>

using namespace Harness;

class TstThemes : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempStore> m_store;
    FakeState m_fake;
    std::unique_ptr<FrmMain> m_window;

    MenuDecorator& Component() { return *m_window->Parts().menuDecoration->MenuObject(); }

    // The File menu opened by a click, New under the pointer, as drawn.
    QImage FileMenuWithNewHovered()
    {
        QMenuBar* bar = m_window->menuBar();
        QMenu* file = m_window->Menus().Menu(QStringLiteral("mnuTrace"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file->menuAction()).center());
        if (!QTest::qWaitFor([file] { return file->isVisible(); })) {
            qWarning("menu not shown");
            return {};
        }
        QAction* item = m_window->Menus().Action(QStringLiteral("mnuT_New"));
        // The real pointer, in two steps: a menu takes a hover only once
        // the pointer has moved over it.
        const QPoint target = file->mapToGlobal(file->actionGeometry(item).center());
        QCursor::setPos(target + QPoint(30, 0));
        QTest::qWait(30);
        QCursor::setPos(target);
        if (!QTest::qWaitFor([file, item] { return file->activeAction() == item; })) {
            qWarning() << "not hovered" << file->activeAction();
            return {};
        }
        QTest::qWait(50);
        const QImage image = file->grab().toImage();
        file->close();
        return QTest::qWaitFor([file] { return !file->isVisible(); }) ? image : QImage();
    }

    static bool HasColourNear(const QImage& image, const QRect& area, QColor wanted, int tolerance)
    {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (std::abs(c.red() - wanted.red()) <= tolerance && std::abs(c.green() - wanted.green()) <= tolerance
                    && std::abs(c.blue() - wanted.blue()) <= tolerance)
                    return true;
            }
        return false;
    }

private slots:
    void initTestCase()
    {
        m_store = std::make_unique<TempStore>();
        QVERIFY(StartActive(m_window, MakeRealServices(), m_fake));
    }
    void cleanupTestCase()
    {
        m_window.reset();
        m_store.reset();
    }

    void setAndGet_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("componentTheme");
        QTest::newRow("standard") << 0 << 0 << int(MenuDecorator::ThemeStandard);
        QTest::newRow("gradient") << 1 << 1 << int(MenuDecorator::ThemeGradient);
        QTest::newRow("flat") << 2 << 2 << int(MenuDecorator::ThemeFlat);
        QTest::newRow("any other value") << 7 << 2 << int(MenuDecorator::ThemeFlat);
    }
    void setAndGet()
    {
        QFETCH(int, value);
        QFETCH(int, stored);
        QFETCH(int, componentTheme);
        MainMenus& menus = m_window->Menus();
        menus.fSetMenuTheme(value == 0 ? 1 : 0);
        menus.fSetMenuTheme(value);
        QCOMPARE(menus.fGetMenuTheme(), stored);
        QCOMPARE(Component().Theme(), componentTheme);
        int checked = 0;
        for (const char* name : {"mnuVMT_Standard", "mnuVMT_Gradient", "mnuVMT_Flat"})
            checked += menus.Action(QString::fromLatin1(name))->isChecked() ? 1 : 0;
        QCOMPARE(checked, 1);
    }

    void theCheckedThemeOnlyRedraws()
    {
        MainMenus& menus = m_window->Menus();
        menus.fSetMenuTheme(0);
        Component().SetTheme(MenuDecorator::ThemeGradient);
        menus.fSetMenuTheme(0);
        QCOMPARE(Component().Theme(), int(MenuDecorator::ThemeGradient));
        // The flat theme sets its properties again all the same.
        menus.fSetMenuTheme(2);
        Component().SetTheme(MenuDecorator::ThemeGradient);
        Component().SetSelectionBorder(3);
        menus.fSetMenuTheme(2);
        QCOMPARE(Component().Theme(), int(MenuDecorator::ThemeFlat));
        QCOMPARE(Component().SelectionBorder(), 0);
        QCOMPARE(Component().SelectionRadius(), 0);
    }

    void eachThemeHighlightsItsOwnWayAndDrawsThePictures()
    {
        QMenu* file = m_window->Menus().Menu(QStringLiteral("mnuTrace"));
        // New is enabled once the project has a point.
        m_window->State().m_mainCurve->AddControl3(0, 0, 0, 0, 0, 0, false);
        m_window->Parts().editState->fUpdateControlsState();
        QVERIFY(m_window->Menus().Action(QStringLiteral("mnuT_New"))->isEnabled());
        std::set<QRgb> highlights;
        for (int theme : {0, 1, 2}) {
            m_window->Menus().fSetMenuTheme(theme);
            const QImage image = FileMenuWithNewHovered();
            QVERIFY(!image.isNull());
            QCOMPARE(image.devicePixelRatio(), 1.0);
            const QRect row = file->actionGeometry(m_window->Menus().Action(QStringLiteral("mnuT_New")));
            // Right of the text and shortcut, inside the highlight.
            highlights.insert(image.pixel(row.right() - 4, row.center().y()));
            // New's alternate picture (its yellow disc brightened), and
            // Open's picture (the folder's yellow) in the rows' left part.
            const QString which = QString::number(theme);
            QVERIFY2(HasColourNear(image, QRect(row.left(), row.top(), 40, row.height()), QColor(255, 255, 100), 12),
                     qPrintable(which));
            const QRect open = file->actionGeometry(m_window->Menus().Action(QStringLiteral("mnuT_Open")));
            QVERIFY2(HasColourNear(image, QRect(open.left(), open.top(), 40, open.height()), QColor(230, 190, 80), 12),
                     qPrintable(which));
        }
        QCOMPARE(highlights.size(), size_t(3));
    }

    void boldItemsAndTheRegularFont()
    {
        const QFont saveFont = m_window->Menus().Action(QStringLiteral("mnuVP_Save"))->font();
        const QFont clearFont = m_window->Menus().Action(QStringLiteral("mnuVP_Clear"))->font();
        const QFont defaultFont = m_window->Menus().Action(QStringLiteral("mnuAD_SetAsDefault"))->font();
        QVERIFY(saveFont.bold());
        QVERIFY(!clearFont.bold());
        QVERIFY(defaultFont.bold());
        QCOMPARE(saveFont.pointSize(), 8);
        QCOMPARE(m_window->Menus().Action(QStringLiteral("mnuT_Quit"))->font().pointSize(), 8);
        QVERIFY(!m_window->Menus().Action(QStringLiteral("mnuT_Quit"))->icon().isNull());
        QVERIFY(!m_window->Menus().Action(QStringLiteral("mnuH_About"))->icon().isNull());
        QVERIFY(m_window->Menus().Action(QStringLiteral("mnuE_SelectAll"))->icon().isNull());
    }
};

QTEST_MAIN(TstThemes)
#include "tst_themes.moc"
