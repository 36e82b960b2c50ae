#include "ViewInput.h"

#include "MainContext.h"
#include "MainParts.h"
#include "MainState.h"

void ViewInput::fCreateViews()
{
    // Kind, horizontal, vertical and depth axes of views 0 to 3.
    constexpr int32_t kViews[4][4] = {{CView::ViewXY, 0, 1, 2},
                                      {CView::ViewXZ, 0, 2, 1},
                                      {CView::ViewYZ, 1, 2, 0},
                                      {CView::View3D, 0, 1, 2}};
    const int32_t scaleIndex = m_c.parts.viewZoom->DefaultScaleIndex();
    for (size_t i = 0; i < 4; ++i)
        m_c.state.m_views[i].Initialize(kViews[i][0], kViews[i][1], kViews[i][2], kViews[i][3], scaleIndex, 10,
                                        100000, false, false, false);
    m_c.state.m_activeViewIndex = 0;
    m_c.state.m_view = &m_c.state.m_views[0];
}
