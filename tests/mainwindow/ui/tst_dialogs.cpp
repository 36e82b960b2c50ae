// The file dialogs of the window's dialogs service: Qt's own dialogs with
// the window's filters, a file that must exist, no question before a file
// is replaced, and cancelling.

#include "MCDialog.h"
#include "MainServicesReal.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

QFileDialog* OpenDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

// Runs the steps on the dialog once it is shown.
void OnDialog(std::function<void(QFileDialog*)> steps)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, steps] {
        if (QFileDialog* d = OpenDialog()) {
            poll->stop();
            poll->deleteLater();
            steps(d);
        }
    });
    poll->start(20);
}

// Types the name; the dialog's accept button (Return may go to the name
// completer's list) or null when it is disabled for that name.
QPushButton* TypeName(QFileDialog* dialog, const QString& name)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (!edit || !buttons)
        return nullptr;
    // Set, not typed: the name completer's list would open over the dialog.
    edit->setText(name);
    QPushButton* accept = buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                                           : QDialogButtonBox::Open);
    return accept && accept->isEnabled() ? accept : nullptr;
}

// Types the name and presses the accept button; the dialog is left when
// that cannot be done, so that the test goes on to its checks.
void Choose(QFileDialog* dialog, const QString& name)
{
    if (QPushButton* accept = TypeName(dialog, name)) {
        accept->click();
    }
    else
        dialog->reject();
}

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
        OnDialog([&](QFileDialog* d) {
            filters = d->nameFilters();
            directory = d->directory().absolutePath();
            // A missing file cannot be chosen.
            refusedMissing = TypeName(d, QStringLiteral("missing.vava")) == nullptr;
            Choose(d, QStringLiteral("old.ep3t"));
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
    }
    void saveAsksNothingBeforeReplacingAndAddsTheExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, file);
        OnDialog([&](QFileDialog* d) {
            Choose(d, d->acceptMode() == QFileDialog::AcceptSave ? typed : QString());
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
        OnDialog([](QFileDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
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
