#pragma once

// What the tests of the curve import and the demo selection share: the
// window's dialogs as they script them (each folder browser, open dialog
// and message box recorded with what it was shown with, and answered from
// the test's lists: a cancel, and OK, once a list is used up), and the
// files they write.

#include "MMsgBoxEx.h"
#include "MainServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

class ScriptedDialogs final : public IDialogs
{
public:
    struct Box
    {
        QString title;
        QString prompt;
        int32_t style;
    };
    struct Browse
    {
        QString title;
        QString initialFolder;
        int32_t root;
        int32_t flags;
        QString icon;
    };
    struct Open
    {
        QString title;
        QString initialFolder;
        QString filter;
        int32_t flags;
    };

    QList<Box> boxes;
    QList<int32_t> answers;  // of the message boxes
    QList<Browse> browses;
    QStringList folders;  // the folder browser's answers
    QList<Open> opens;
    QStringList files;  // the open dialog's answers; an empty one cancels

    bool ShowOpenDialog(QWidget*, const QString& title, QString& fileName, QString& fileTitle,
                        const QString& initialFolder, const QString& filter, int32_t&, const QString&,
                        int32_t flags) override
    {
        opens << Open{title, initialFolder, filter, flags};
        fileName = files.isEmpty() ? QString() : files.takeFirst();
        fileTitle = fileName.section(QLatin1Char('/'), -1);
        return !fileName.isEmpty();
    }
    bool ShowSaveDialog(QWidget*, const QString&, QString&, QString&, const QString&, const QString&, int32_t&,
                        const QString&, int32_t) override
    {
        return false;
    }
    QString BrowseForFolder(QWidget*, const QString& title, const QString& initialFolder, int32_t root,
                            int32_t flags, const QString& icon) override
    {
        browses << Browse{title, initialFolder, root, flags, icon};
        return folders.isEmpty() ? QStringLiteral("cancel") : folders.takeFirst();
    }
    int32_t MessageBox(QWidget*, const QString& title, const QString& prompt, int32_t style, const QString&,
                       int32_t) override
    {
        boxes << Box{title, prompt, style};
        return answers.isEmpty() ? MMsgBoxEx::IdOk : answers.takeFirst();
    }
};

// Writes the file, with its folders; its path, empty when it cannot be
// written.
inline QString WriteTestFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}
