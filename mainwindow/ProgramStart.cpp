#include "ProgramStart.h"

#include "ComClient.h"
#include "Dadavive.h"
#include "Dorado.h"
#include "FrmMain.h"
#include "RuvError.h"

#include <QDir>

namespace ProgramStart {

QStringList RegisterLibraries(const QString& folder)
{
    struct Library
    {
        const char* file;
        Com::Guid clsid;
    };
    const Library libraries[] = {{"libdorado.so", Dorado::CLSID_BSP}, {"libdadavive.so", Dadavive::CLSID_CSubclass}};
    QStringList errors;
    for (const Library& library : libraries) {
        const QString path = QDir(folder).absoluteFilePath(QString::fromLatin1(library.file));
        const Com::HRESULT hr = Com::RegisterServerFileWhenNeeded(path, library.clsid);
        if (Com::Failed(hr)) {
            const QString reason = hr == Com::CO_E_DLLNOTFOUND || hr == Com::CO_E_ERRORINDLL
                                       ? Com::LastLoadError()
                                       : QStringLiteral("error 0x%1").arg(static_cast<uint32_t>(hr), 8, 16, QLatin1Char('0'));
            errors << QStringLiteral("The library %1 cannot be registered:\r\n%2").arg(path, reason);
        }
    }
    return errors;
}

void RegisterLibrariesAndReport(const QString& folder, IDialogs& dialogs)
{
    for (const QString& error : RegisterLibraries(folder))
        dialogs.MessageBox(nullptr, QStringLiteral("Ruvadir"), error, 48, QStringLiteral("IDI_A"), 0);
}

int StartMainWindow(MainServices services, std::unique_ptr<FrmMain>& window,
                    std::unique_ptr<MainPartsFactory> factory)
{
    const std::shared_ptr<IDialogs> dialogs = services.dialogs;
    QString error;
    try {
        window = std::make_unique<FrmMain>(std::move(services), std::move(factory));
        window->Form_Load();
        window->show();
        return 0;
    } catch (const RuvError& e) {
        error = e.description();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    window.reset();
    dialogs->MessageBox(nullptr, QStringLiteral("Ruvadir"), error, 16, QStringLiteral("IDI_A"), 0);
    return 1;
}

}  // namespace ProgramStart
