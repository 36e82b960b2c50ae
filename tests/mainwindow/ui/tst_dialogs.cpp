// The file dialogs of the window's dialogs service: Qt's own dialogs with
// the window's filters, a file that must exist, no question before a file
// is replaced, and cancelling.

#include "FileDialogDriver.h"
#include "MCDialog.h"
#include "MainServicesReal.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void Touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

}  // namespace

class TstDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::shared_ptr<IDialogs> m_dialogs = MakeRealServices().dialogs;
    const QString m_filter = MCDialog::BuildFilter(QStringLiteral("Ruvadir project"), QStringLiteral("vava;ep3t"));

private slots:
    void initTestCase()
    {
        Touch(m_dir.filePath(QStringLiteral("intro.vava")));
        Touch(m_dir.filePath(QStringLiteral("old.ep3t")));
    }

    void openTakesAnExistingFileOnly()
    {
        QStringList filters;
        QString directory;
        bool refusedMissing = false;
        Harness::OnFileDialog([&](QFileDialog* d) {
            filters = d->nameFilters();
            directory = d->directory().absolutePath();
            // A missing file cannot be chosen.
            refusedMissing = Harness::TypeFileName(d, QStringLiteral("missing.vava")) == nullptr;
            Harness::ChooseFileName(d, QStringLiteral("old.ep3t"));
        });
        QString name;
        QString title;
        int32_t index = 1;
        // The initial folder is the nearest existing one.
        const bool chosen = m_dialogs->ShowOpenDialog(nullptr, QStringLiteral("Project loading"), name, title,
                                                      m_dir.filePath(QStringLiteral("gone/deeper")), m_filter, index,
                                                      QString(), 4100);
        QVERIFY(chosen);
        QCOMPARE(filters, QStringList{QStringLiteral("Ruvadir project (*.vava *.ep3t)")});
        QCOMPARE(directory, QDir(m_dir.path()).absolutePath());
        QVERIFY(refusedMissing);
        QCOMPARE(name, m_dir.filePath(QStringLiteral("old.ep3t")));
        QCOMPARE(title, QStringLiteral("old.ep3t"));
        QCOMPARE(index, 1);
    }

    void saveAsksNothingBeforeReplacingAndAddsTheExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("file");
        QTest::newRow("an existing file") << "intro.vava" << "intro.vava";
        QTest::newRow("a name without extension") << "fresh" << "fresh.vava";
        // Qt alone would read the quote as a list of names and give the
        // existing intro.vava.
        QTest::newRow("a name holding a double quote") << "x\"intro" << "x\"intro.vava";
        QTest::newRow("a double quote and an extension") << "my\"cam.old" << "my\"cam.old";
    }
    void saveAsksNothingBeforeReplacingAndAddsTheExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, file);
        Harness::OnFileDialog([&](QFileDialog* d) {
            if (d->acceptMode() == QFileDialog::AcceptSave)
                Harness::TypeAndChooseFileName(d, typed);
            else
                d->reject();
        });
        QString name = QStringLiteral("proposed");
        QString title;
        int32_t index = 1;
        QVERIFY(m_dialogs->ShowSaveDialog(nullptr, QStringLiteral("Project saving"), name, title, m_dir.path(),
                                          MCDialog::BuildFilter(QStringLiteral("Ruvadir project"), QStringLiteral("vava")),
                                          index, QStringLiteral("vava"), 4));
        QCOMPARE(name, m_dir.filePath(file));
        QCOMPARE(title, file);
        // No question box was left open.
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!w->isVisible());
    }

    void cancellingGivesFalseAndChangesNothing()
    {
        Harness::OnFileDialog([](QFileDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
        QString name = QStringLiteral("proposed");
        QString title = QStringLiteral("kept");
        int32_t index = 1;
        QVERIFY(!m_dialogs->ShowOpenDialog(nullptr, QStringLiteral("Project loading"), name, title, m_dir.path(),
                                           m_filter, index, QString(), 4100));
        QCOMPARE(name, QStringLiteral("proposed"));
        QCOMPARE(title, QStringLiteral("kept"));
    }
};

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
