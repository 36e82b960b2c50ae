#pragma once

// The drawing handler of the OpenGL view: its owner draws the scene here,
// with the view's context current, the buffers cleared and the model-view
// matrix reset.
class IOpenGLViewHandler
{
public:
    virtual void GLDrawScene() = 0;

protected:
    ~IOpenGLViewHandler() = default;
};
