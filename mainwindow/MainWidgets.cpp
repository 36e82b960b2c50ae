#include "MainWidgets.h"
#include "MainWidgetsBuild.h"

#include "MControls.h"
#include "MDisplayNumber.h"
#include "UCOpenGLView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

using namespace MainWidgetsBuild;

namespace {

QToolButton* ToolButton(QWidget* parent, const char* name, int index, const QString& caption)
{
    auto* b = Make<QToolButton>(parent, name, caption, index);
    b->setCheckable(true);
    b->setAutoExclusive(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

QTimer* MakeTimer(QObject* parent, const char* name, int intervalMs, bool singleShot)
{
    auto* t = new QTimer(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(intervalMs);
    t->setSingleShot(singleShot);
    return t;
}

}  // namespace

MainWidgets::MainWidgets(QMainWindow& window)
{
    central = new QWidget(&window);
    central->setObjectName(QStringLiteral("central"));
    window.setCentralWidget(central);
    // No layout here: the window's layout pass places the view at its
    // ratio and the panels around it (MainLayout).
    BuildLeft(central);
    BuildRight(central);

    lblMiddleStatus = Make<QLabel>(window.statusBar(), "lblMiddleStatus");
    lblRightStatus = Make<QLabel>(window.statusBar(), "lblRightStatus");
    lblMiddleStatus->setMinimumWidth(220);
    window.statusBar()->addWidget(lblMiddleStatus, 1);
    window.statusBar()->addPermanentWidget(lblRightStatus);
    BuildTimers(window);
}

void MainWidgets::BuildLeft(QWidget* parent)
{
    fraToolBar = Make<QFrame>(parent, "fraToolBar");
    auto* tools = new QHBoxLayout(fraToolBar);
    tools->setContentsMargins(0, 0, 0, 0);
    const QString viewCaptions[] = {QStringLiteral("XY"), QStringLiteral("XZ"), QStringLiteral("YZ"),
                                    QStringLiteral("3D")};
    for (int i = 0; i < 4; ++i) {
        optViews[i] = ToolButton(fraToolBar, "optViews", i, viewCaptions[i]);
        tools->addWidget(optViews[i]);
    }
    optViews[0]->setChecked(true);
    tools->addSpacing(12);
    // Tools: select (S), points (B), tangents (T), look-at, zoom, view.
    const QString toolCaptions[] = {QStringLiteral("S"), QStringLiteral("B"), QStringLiteral("T"),
                                    QStringLiteral("L"), QStringLiteral("Z"), QStringLiteral("V")};
    for (int i = 0; i < 6; ++i) {
        optTools[i] = ToolButton(fraToolBar, "optTools", i, toolCaptions[i]);
        tools->addWidget(optTools[i]);
    }
    optTools[1]->setChecked(true);
    // The view buttons and the tool buttons share the tool bar: each row is
    // a group of its own, so that choosing a view keeps the tool.
    auto* viewGroup = new QButtonGroup(fraToolBar);
    for (int i = 0; i < 4; ++i)
        viewGroup->addButton(optViews[i], i);
    auto* toolGroup = new QButtonGroup(fraToolBar);
    for (int i = 0; i < 6; ++i)
        toolGroup->addButton(optTools[i], i);
    tools->addStretch(1);
    cbo3DViewRatio = Make<QComboBox>(fraToolBar, "cbo3DViewRatio");
    tools->addWidget(cbo3DViewRatio);

    oglView = Make<UCOpenGLView>(parent, "oglView");
    oglView->setGeometry(4, 30, 502, 377);
    chkExpand = Make<QCheckBox>(parent, "chkExpand");

    fra3DView = Make<QFrame>(parent, "fra3DView");
    // A close row: with the 3D view at its narrowest the auto-select box
    // must still show its caption beside the buttons.
    auto* preview = new QHBoxLayout(fra3DView);
    preview->setContentsMargins(0, 0, 0, 0);
    preview->setSpacing(2);
    chkPreviewLock = Make<QCheckBox>(fra3DView, "chkPreviewLock", QStringLiteral("Lock"));
    preview->addWidget(chkPreviewLock);
    const QString stepCaptions[] = {QStringLiteral("|<"), QStringLiteral("<<"), QStringLiteral("<"),
                                    QString(), QString(), QStringLiteral(">"), QStringLiteral(">>"),
                                    QStringLiteral(">|")};
    for (int i : {0, 1, 2}) {
        cmdPreview[i] = Make<QPushButton>(fra3DView, "cmdPreview", stepCaptions[i], i);
        preview->addWidget(cmdPreview[i]);
    }
    cmdPvwStartStop = Make<QPushButton>(fra3DView, "cmdPvwStartStop");
    preview->addWidget(cmdPvwStartStop);
    for (int i : {5, 6, 7}) {
        cmdPreview[i] = Make<QPushButton>(fra3DView, "cmdPreview", stepCaptions[i], i);
        preview->addWidget(cmdPreview[i]);
    }
    // The step buttons take up to 34 pixels and give up, down to what their
    // captions need, the room the time and the auto-select box need.
    for (QPushButton* b : cmdPreview)
        if (b) {
            b->setMaximumWidth(34);
            b->setMinimumWidth(MControls::ButtonWidthFor(b, 0));
        }
    fra3dvPan2 = Make<QFrame>(fra3DView, "fra3dvPan2");
    auto* pan2 = new QHBoxLayout(fra3dvPan2);
    pan2->setContentsMargins(4, 0, 0, 0);
    pan2->setSpacing(4);
    // As wide as the longest preview time it shows ("T: " and the time).
    lbl3dvTime = Make<QLabel>(fra3dvPan2, "lbl3dvTime");
    lbl3dvTime->setMinimumWidth(
        lbl3dvTime->fontMetrics().horizontalAdvance(QStringLiteral("T: ") + MDisplayNumber::Format(9999.999, 3)));
    pan2->addWidget(lbl3dvTime);
    chk3dvAutoSelectPoint = Make<QCheckBox>(fra3dvPan2, "chk3dvAutoSelectPoint", Text(97));
    pan2->addWidget(chk3dvAutoSelectPoint);
    pan2->addStretch(1);
    preview->addWidget(fra3dvPan2, 1);

    fraPans = Make<QFrame>(parent, "fraPans");
    auto* pans = new QHBoxLayout(fraPans);
    pans->setContentsMargins(0, 0, 0, 0);
    fra3DViewPreset = Make<QGroupBox>(fraPans, "fra3DViewPreset");
    fra3DViewPreset->setFlat(true);
    auto* presets = new QHBoxLayout(fra3DViewPreset);
    presets->setContentsMargins(0, 0, 0, 0);
    presets->setSpacing(1);
    for (int i = 0; i < 12; ++i) {
        optViewPreset[i] = Make<QToolButton>(fra3DViewPreset, "optViewPreset", QString::number(i + 1), i);
        optViewPreset[i]->setCheckable(true);
        presets->addWidget(optViewPreset[i]);
    }
    pans->addWidget(fra3DViewPreset);
    pans->addStretch(1);
    lblScaleLabel = Make<QLabel>(fraPans, "lblScaleLabel");
    lblScaleLabel->setMinimumWidth(120);
    pans->addWidget(lblScaleLabel);
}

void MainWidgets::BuildTimers(QMainWindow& window)
{
    tmrWaitForClose = MakeTimer(&window, "tmrWaitForClose", 100, false);
    tmrMiddleStatusAutoClear = MakeTimer(&window, "tmrMiddleStatusAutoClear", 1000, true);
    tmrViewAutoRefresh = MakeTimer(&window, "tmrViewAutoRefresh", 20, false);
    tmrCameraMouseForwarding = MakeTimer(&window, "tmrCameraMouseForwarding", 40, false);
}
