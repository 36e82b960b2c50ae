#include "HandlerErrors.h"

#include "MainContext.h"
#include "MainTexts.h"
#include "RuvError.h"
#include "StatusMessages.h"

#include <exception>

namespace {

constexpr int32_t kHandlerErrorText = 910;
constexpr int32_t kStopStyle = 16;

void Report(MainContext& c, int32_t number, const QString& description)
{
    c.status.fShowMessageBox(c.texts.fGetText(kHandlerErrorText, QString::number(number), description), kStopStyle,
                             QStringLiteral("Ruvadir"));
}

}  // namespace

void RunHandler(MainContext& c, const std::function<void()>& work)
{
    try {
        work();
    } catch (const RuvError& e) {
        Report(c, e.number(), e.description());
    } catch (const std::exception& e) {
        Report(c, 0, QString::fromLocal8Bit(e.what()));
    }
}
