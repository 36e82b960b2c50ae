#pragma once

// The frame a GL view has just drawn, read back from its back buffer before
// the swap.
#include <QColor>
#include <QImage>

#include <GL/gl.h>

// A pixel of the frame (window coordinates, origin bottom left).
inline QColor PixelAt(int x, int y)
{
    GLubyte px[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return QColor(px[0], px[1], px[2]);
}

// The whole viewport of the frame, top row first.
inline QImage FrameImage()
{
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    QImage image(viewport[2], viewport[3], QImage::Format_RGBA8888);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, viewport[2], viewport[3], GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return image.mirrored();
}
