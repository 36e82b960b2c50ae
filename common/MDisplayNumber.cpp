#include "MDisplayNumber.h"

#include "MCommon.h"

#include <algorithm>
#include <cmath>

namespace MDisplayNumber {

QString Format(double x, int decimals)
{
    return Format(x, decimals, QLocale());
}

QString Format(double x, int decimals, const QLocale& locale)
{
    decimals = std::clamp(decimals, 0, 15);
    double v = std::isfinite(x) ? MCommon::RoundToDecimals(x, decimals) : 0.0;
    if (v == 0.0)
        v = 0.0; // drops the sign of a negative zero
    QLocale l(locale);
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(v, 'f', decimals);
}

bool Parse(QStringView text, double& out)
{
    return Parse(text, out, QLocale());
}

bool Parse(QStringView text, double& out, const QLocale& locale)
{
    const QString decimal = locale.decimalPoint();
    QString t = text.trimmed().toString();
    if (t.isEmpty())
        return false;
    // The locale's separator becomes "." so that one strict locale-free
    // reader decides; a text holding both kinds is no number.
    if (decimal != QLatin1String(".")) {
        if (t.contains(decimal) && t.contains(QLatin1Char('.')))
            return false;
        t.replace(decimal, QLatin1String("."));
    }
    // The locale's minus sign (U+2212 in some locales) reads as "-".
    const QString minus = locale.negativeSign();
    if (minus != QLatin1String("-"))
        t.replace(minus, QLatin1String("-"));
    double v = 0.0;
    if (!MCommon::ParseNumber(t, v) || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

double ParseOr(QStringView text, double fallback)
{
    double v = fallback;
    return Parse(text, v) ? v : fallback;
}

QChar DecimalSeparator()
{
    const QString d = QLocale().decimalPoint();
    return d.isEmpty() ? QLatin1Char('.') : d.at(0);
}

} // namespace MDisplayNumber
