#pragma once

// For tests that change the display's keyboard layout (setxkbmap): runs the
// X tools and puts the keymap back exactly as it was, whatever the test
// did. Needs setxkbmap and xkbcomp (x11-xkb-utils).
//
//   KeymapGuard keymap(dir.filePath("keymap.xkm"));
//   if (!keymap.Available()) QSKIP(...);
//   QVERIFY2(keymap.Save(), qPrintable(keymap.error));
//   QVERIFY2(keymap.SetLayout("de"), ...);  ...  QVERIFY2(keymap.Restore(), ...);

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

#include <utility>

// The tool's standard output; "failed: " and its error output when it did
// not end well within 10 s.
inline QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return QStringLiteral("failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// Saves the display's keymap and its layout names, and puts both back: the
// names with setxkbmap, then the exact keymap (tweaks and all) with xkbcomp.
class KeymapGuard
{
public:
    // The keymap is saved in `file`.
    explicit KeymapGuard(QString file)
        : m_setxkbmap(QStandardPaths::findExecutable(QStringLiteral("setxkbmap"))),
          m_xkbcomp(QStandardPaths::findExecutable(QStringLiteral("xkbcomp"))), m_file(std::move(file)),
          m_display(qEnvironmentVariable("DISPLAY"))
    {
    }
    ~KeymapGuard()
    {
        if (m_saved)
            Restore();
    }

    // True when the tools are there.
    bool Available() const { return !m_setxkbmap.isEmpty() && !m_xkbcomp.isEmpty(); }

    bool Save()
    {
        m_map = Dump();
        const QString query = RunTool(m_setxkbmap, {QStringLiteral("-query")});
        for (const QString& line : query.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString name = line.section(QLatin1Char(':'), 0, 0).trimmed();
            const QString value = line.section(QLatin1Char(':'), 1).trimmed();
            if (name == QLatin1String("rules") || name == QLatin1String("model") || name == QLatin1String("layout") ||
                name == QLatin1String("variant"))
                m_names << QLatin1Char('-') + name << value;
            else if (name == QLatin1String("options"))
                m_names << QStringLiteral("-option") << QString() << QStringLiteral("-option") << value;
        }
        m_saved = !m_map.startsWith(QLatin1String("failed")) && !m_names.isEmpty() &&
                  RunTool(m_xkbcomp, {QStringLiteral("-w0"), m_display, m_file}).isEmpty();
        if (!m_saved)
            error = QStringLiteral("keymap not saved: ") + m_map.left(200) + query;
        return m_saved;
    }

    // Switches the display to the layout; true when it took.
    bool SetLayout(const QString& layout)
    {
        error = RunTool(m_setxkbmap, {layout});
        if (error.isEmpty() && RunTool(m_setxkbmap, {QStringLiteral("-query")}).contains(QStringLiteral("layout:     ") + layout))
            return true;
        error = QStringLiteral("layout ") + layout + QStringLiteral(" not set: ") + error;
        return false;
    }

    // True when the keymap is as it was.
    bool Restore()
    {
        m_saved = false;
        RunTool(m_setxkbmap, m_names);
        RunTool(m_xkbcomp, {QStringLiteral("-w0"), m_file, m_display});
        const bool same = Dump() == m_map;
        if (!same)
            error = QStringLiteral("keymap not restored");
        return same;
    }

    QString error;

private:
    QString Dump() const { return RunTool(m_xkbcomp, {QStringLiteral("-w0"), QStringLiteral("-xkb"), m_display, QStringLiteral("-")}); }

    QString m_setxkbmap, m_xkbcomp, m_file, m_display;
    QString m_map;
    QStringList m_names;
    bool m_saved = false;
};

// The data of a test run on the layouts where no key carries a plain grave.
inline void LayoutsWithoutPlainGrave()
{
    QTest::addColumn<QString>("layout");
    QTest::newRow("German") << QStringLiteral("de");  // a dead circumflex left of 1
    QTest::newRow("French") << QStringLiteral("fr");  // "²"; grave only with AltGr
}
