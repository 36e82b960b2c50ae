#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>

struct MainContext;

// The game's screenshots (shot*.tga, else shot*.jpg, in the mod folder's
// "screenshots"): the first one handed to the screenshot loader, a video
// program the user chooses, which takes the series from there; deleted
// after a question; or their folder opened on the desktop.
class IScreenshotTools
{
public:
    virtual ~IScreenshotTools() = default;
    virtual void cmdGSShotLoad_Click() = 0;
    // The right button (2) chooses the loader.
    virtual void cmdGSShotLoad_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) = 0;
    // An open-file dialog until a program file is chosen (true, the loader
    // replaced) or it is cancelled (false, the loader kept).
    virtual bool fChooseScreenshotLoader() = 0;
    virtual void cmdGSShotsDelete_Click() = 0;
    virtual void cmdGSShotExploreFolder_Click() = 0;
};

class ScreenshotTools final : public QObject, public IScreenshotTools
{
public:
    explicit ScreenshotTools(MainContext& context);

    void cmdGSShotLoad_Click() override;
    void cmdGSShotLoad_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    bool fChooseScreenshotLoader() override;
    void cmdGSShotsDelete_Click() override;
    void cmdGSShotExploreFolder_Click() override;

protected:
    // The load button's right-button presses, which a button signals not.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The screenshot files of the folder with the extension, in the order
    // the search gives them.
    static QStringList fFindScreenshots(const QString& folder, const QString& extension);

    MainContext& m_c;
};
