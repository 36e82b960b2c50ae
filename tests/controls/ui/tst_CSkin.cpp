// A skinned frameless window on a real screen: the picture inside its
// shape, the window below showing through where the picture is magenta.
#include "CSkin.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

class TestSkin : public QObject
{
    Q_OBJECT

private slots:
    void aSkinnedWindowShowsItsPictureInsideItsShape()
    {
        // The artwork: a green ellipse with a red square, on magenta.
        QImage art(120, 80, QImage::Format_RGB32);
        art.fill(qRgb(255, 0, 255));
        {
            QPainter p(&art);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(30, 120, 60));
            p.drawEllipse(QRect(0, 0, 120, 80));
            p.fillRect(QRect(50, 30, 20, 20), QColor(220, 20, 20));
        }
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("art.png"));
        QVERIFY(art.save(image));
        CSkin skin;
        QVERIFY(skin.CreateSkin(image, dir.filePath(QStringLiteral("art"))));
        QFile file(dir.filePath(QStringLiteral("art.skn")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();

        QWidget below;
        below.setWindowFlags(Qt::FramelessWindowHint);
        below.setAutoFillBackground(true);
        QPalette green = below.palette();
        green.setColor(QPalette::Window, QColor(0, 200, 0));
        below.setPalette(green);
        below.setGeometry(150, 150, 300, 300);
        below.show();
        QVERIFY(QTest::qWaitForWindowExposed(&below));

        QWidget window;
        window.setWindowFlags(Qt::FramelessWindowHint);
        const QRegion region = skin.SetSkin(bytes, &window, true);
        QVERIFY(!region.isEmpty());
        QCOMPARE(skin.Region(), region);
        window.setGeometry(200, 200, art.width(), art.height());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.raise();

        const auto screenAt = [](QPoint p) {
            return QApplication::primaryScreen()->grabWindow(0, p.x(), p.y(), 1, 1).toImage().pixel(0, 0);
        };
        // The middle shows the picture, the cut corner the window below.
        QTRY_COMPARE(screenAt(QPoint(260, 240)), qRgb(220, 20, 20));
        QCOMPARE(screenAt(QPoint(260, 205)), qRgb(30, 120, 60));
        QCOMPARE(screenAt(QPoint(201, 201)), qRgb(0, 200, 0));
        QCOMPARE(screenAt(QPoint(318, 278)), qRgb(0, 200, 0));

        // Without the region the whole picture shows, magenta corners too.
        QWidget plain;
        plain.setWindowFlags(Qt::FramelessWindowHint);
        skin.SetSkin(bytes, &plain, false);
        QVERIFY(plain.mask().isEmpty());
        plain.setGeometry(320, 320, art.width(), art.height());
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        QTRY_COMPARE(screenAt(QPoint(321, 321)), qRgb(255, 0, 255));
    }
};

QTEST_MAIN(TestSkin)
#include "tst_CSkin.moc"
