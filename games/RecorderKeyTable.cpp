#include "RecorderKeyTable.h"

#include <utility>

namespace RecorderKeys {

namespace {

struct Table
{
    QStringList texts;
    QStringList binds;

    void Add(const QString& text, const QString& bind = QString())
    {
        texts << text;
        binds << bind;
    }
    void AddRange(char first, char last)
    {
        for (char c = first; c <= last; ++c)
            Add(QString(QLatin1Char(c)));
    }
    void Separator() { Add(kSeparator); }
};

Table Build()
{
    Table t;
    for (const char* k : {"-", "=", "[", "]"})
        t.Add(QString::fromLatin1(k));
    t.Add(QStringLiteral(";"), QStringLiteral("SemiColon"));
    for (const char* k : {"'", "\\", ",", ".", "/", "0x00"})
        t.Add(QString::fromLatin1(k));
    t.Separator();
    t.AddRange('0', '9');
    t.Separator();
    t.AddRange('A', 'Z');
    t.Separator();
    for (int i = 1; i <= 5; ++i)
        t.Add(QStringLiteral("Mouse %1").arg(i), QStringLiteral("mouse%1").arg(i));
    t.Separator();
    for (const char* k : {"Alt", "BackSpace", "CapsLock", "Ctrl", "Enter", "Pause", "Shift", "Tab"})
        t.Add(QString::fromLatin1(k));
    t.Separator();
    const std::pair<const char*, const char*> editing[] = {
        {"Insert", "Ins"}, {"Delete", "Del"}, {"Home", ""}, {"End", ""}, {"Page up", "PgUp"}, {"Page down", "PgDn"}};
    for (const auto& [text, bind] : editing)
        t.Add(QString::fromLatin1(text), QString::fromLatin1(bind));
    t.Separator();
    const std::pair<const char*, const char*> arrows[] = {{"Up arrow", "UpArrow"},
                                                          {"Down arrow", "DownArrow"},
                                                          {"Left arrow", "LeftArrow"},
                                                          {"Right arrow", "RightArrow"}};
    for (const auto& [text, bind] : arrows)
        t.Add(QString::fromLatin1(text), QString::fromLatin1(bind));
    t.Separator();
    const std::pair<const char*, const char*> keypad[] = {
        {"Num. 0", "KP_Ins"},        {"Num. 1", "KP_End"},     {"Num. 2", "KP_DownArrow"},
        {"Num. 3", "KP_PgDn"},       {"Num. 4", "KP_LeftArrow"}, {"Num. 5", "KP_5"},
        {"Num. 6", "KP_RightArrow"}, {"Num. 7", "KP_Home"},    {"Num. 8", "KP_UpArrow"},
        {"Num. 9", "KP_PgUp"},       {"Num. Delete", "KP_Del"}, {"Num. Enter", "KP_Enter"},
        {"Num. +", "KP_Plus"},       {"Num. -", "KP_Minus"},   {"Numlock", "KP_Numlock"},
        {"Num. *", "*"},             {"Num. /", "KP_Slash"}};
    for (const auto& [text, bind] : keypad)
        t.Add(QString::fromLatin1(text), QString::fromLatin1(bind));
    t.Separator();
    for (int i = 1; i <= 12; ++i)
        t.Add(QStringLiteral("F%1").arg(i));
    return t;
}

const Table& TheTable()
{
    static const Table table = Build();
    return table;
}

} // namespace

const QStringList& DisplayTexts()
{
    return TheTable().texts;
}

const QStringList& KeyTable()
{
    return TheTable().binds;
}

bool IsSeparator(int row)
{
    return row >= 0 && row < kRowCount && DisplayTexts().at(row) == kSeparator;
}

namespace {

int RowOfText(const QString& text)
{
    const QStringList& texts = DisplayTexts();
    for (int i = 0; i < texts.size(); ++i)
        if (texts.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

int RowOfBind(const QString& bindName)
{
    if (bindName.isEmpty())
        return 0;
    const int row = RowOfText(bindName);
    return row >= 0 ? row : static_cast<int>(KeyTable().indexOf(bindName));
}

QString BindOfText(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const int row = RowOfText(text);
    if (row < 0)
        return text;
    const QString& bind = KeyTable().at(row);
    return bind.isEmpty() ? DisplayTexts().at(row) : bind;
}

} // namespace RecorderKeys
