#include "MCDialog.h"

namespace MCDialog {

QString BuildFilter(const QStringList& pairs)
{
    QString filter;
    for (qsizetype p = 0; p + 1 < pairs.size(); p += 2) {
        const QStringList extensions = pairs[p + 1].split(QLatin1Char(';'));
        QStringList patterns;
        for (qsizetype i = 0; i < extensions.size(); ++i) {
            const QString ext = extensions[i].trimmed();
            if (ext.isEmpty() || extensions.indexOf(ext, i + 1) >= 0)
                continue;
            patterns << QStringLiteral("*.") + ext;
        }
        filter += pairs[p];
        if (!patterns.isEmpty()) {
            const QString joined = patterns.join(QLatin1Char(';'));
            filter += QStringLiteral(" (") + joined + QStringLiteral(")|") + joined + QLatin1Char('|');
        }
    }
    return filter;
}

} // namespace MCDialog
