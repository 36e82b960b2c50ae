#include "MFileOpDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

class TstMFileOpDialogs : public QObject
{
    Q_OBJECT

private:
    // Runs `act` on the browse dialog once it is shown.
    static void whenShown(std::function<void(QFileDialog*)> act)
    {
        auto* timer = new QTimer;
        timer->setInterval(20);
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                act(dialog);
            }
        });
        timer->start();
    }

private slots:
    void choosingAFolderGivesItsPath()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("demos/cut")));
        QString shownAt;
        whenShown([&](QFileDialog* dialog) {
            shownAt = dialog->directory().absolutePath();
            // As the user does: the path typed into the name box, then the
            // accept button. (A selection made in code waits for the
            // folder's listing, which comes late on a busy machine.)
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            QPushButton* accept = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
            if (!edit || !accept) {
                dialog->reject();
                return;
            }
            edit->setText(dir.filePath(QStringLiteral("demos/cut")));
            accept->click();
        });
        const QString chosen = MFileOp::GetSpecialFolder(QStringLiteral("Pick"), dir.filePath(QStringLiteral("demos/missing")), 17, 0x41, nullptr,
                                                         QStringLiteral("IDB_ETLOGO"));
        QCOMPARE(shownAt, dir.filePath(QStringLiteral("demos")));  // the nearest existing folder
        QCOMPARE(chosen, dir.filePath(QStringLiteral("demos/cut")));
        QCOMPARE(MFileOp::LastBrowseState().flags, 0x41);
        QCOMPARE(MFileOp::LastBrowseState().iconName, QStringLiteral("IDB_ETLOGO"));
    }

    void cancellingGivesTheCancelWord()
    {
        whenShown([](QFileDialog* dialog) { dialog->reject(); });
        QCOMPARE(MFileOp::GetSpecialFolder(QStringLiteral("Pick"), QString(), 17, 0), QStringLiteral("cancel"));
    }

    void compactPathKeepsWithinTheWidth()
    {
        const QFontMetrics metrics(QApplication::font());
        const QString path = QStringLiteral("/home/user/games/enemy-territory/etpro/screenshots/movie/shot0001.tga");
        QCOMPARE(MFileOp::CompactPath(path, 10000, metrics), path);
        const QString shortened = MFileOp::CompactPath(path, 150, metrics);
        QVERIFY(shortened != path);
        QVERIFY(metrics.horizontalAdvance(shortened) <= 150);
    }
};

QTEST_MAIN(TstMFileOpDialogs)
#include "tst_MFileOpDialogs.moc"
