#include "MRuvMain.h"

#include "MCommon.h"
#include "MFileOp.h"
#include "RuvError.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cmath>

namespace MRuvMain {

namespace {

double g_appFileDate = 0.0;

QString ProgramFilePath()
{
    // On Linux the program file is the running executable itself.
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
}

} // namespace

double GetAppFileDate()
{
    if (g_appFileDate == 0.0)
        g_appFileDate = MFileOp::GetFileDate(ProgramFilePath());
    return g_appFileDate;
}

float RoundSingle2(float x)
{
    return MCommon::RoundToDecimals(x, 2);
}

float ClampZFar(float x)
{
    if (std::isnan(x) || x < 100.0f)
        return 100.0f;
    if (x > 100000.0f)
        return 100000.0f;
    return MCommon::RoundHalfEven(x);
}

float ClampFov(float x)
{
    if (std::isnan(x) || x < 0.1f)
        return 0.1f;
    if (x > 179.99f)
        return 179.99f;
    return x;
}

float ClampSpeed(float x)
{
    if (std::isnan(x) || x < 0.1f)
        return 0.1f;
    if (x > 2.0f)
        return 2.0f;
    return x;
}

float ClampPitch(float x)
{
    if (std::isnan(x) || x < -90.0f)
        return -90.0f;
    if (x > 90.0f)
        return 90.0f;
    return x;
}

float NormalizeTimescale(int32_t gameType, float x, float minimum)
{
    static const QString source = QStringLiteral("MRuvMain.NormalizeTimescale");
    if (gameType != 0)
        return x >= minimum ? x : minimum;
    if (!(x >= 0.025f))  // NaN takes the lowest step too
        return 0.025f;
    if (x < 0.2f) {
        const float product = x * 40.0f;
        const float q = MCommon::RoundHalfEven(product) / 40.0f;
        return q == 0.175f ? 0.176f : q;
    }
    const float product = x * 20.0f;
    if (std::isinf(product))
        throw RuvError::Platform(RuvError::Overflow, source);
    return MCommon::RoundHalfEven(product) / 20.0f;
}

bool IsNumericKey(int16_t keyAscii, bool allowMinus, bool allowDecimal)
{
    if ((keyAscii >= 48 && keyAscii <= 57) || keyAscii == 8)
        return true;
    if (keyAscii == 45)
        return allowMinus;
    if (keyAscii == 46 || keyAscii == 44)
        return allowDecimal;
    return false;
}

void RaiseOwnError(int32_t number, const QString& source)
{
    throw RuvError(number, GetOwnErrorText(number), source);
}

QString GetOwnErrorText(int32_t number)
{
    switch (number) {
    case ErrInitializationFailed:
        return QStringLiteral("Initialization failed");
    case ErrTabWidthStyle:
        return QStringLiteral("The TabWidthStyle property of the Tab strip control must be set to tabFixed");
    default:
        return QStringLiteral("Unknow error");
    }
}

} // namespace MRuvMain
