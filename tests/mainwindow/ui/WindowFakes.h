#pragma once

// What the tests of the secondary windows share: a shell that records what
// it is asked to open.

#include "MainServices.h"

#include <QStringList>

namespace WindowFakes {

// Records "<verb> <file>" for each call.
class RecordingShell final : public IShell
{
public:
    QStringList opened;
    int64_t ShellExecuteVerb(QWidget*, int32_t verb, const QString& file, const QString&, const QString&,
                             int32_t) override
    {
        opened << QString::number(verb) + QLatin1Char(' ') + file;
        return 1;
    }
};

}  // namespace WindowFakes
