#pragma once
// What the editor document needs of the view that shows it. The image view widget implements it;
// tests use a plain object.

namespace tavrin {

class TBitmap32;
class TLayerCollection;

class IEditorView
{
public:
    virtual ~IEditorView() = default;
    virtual TBitmap32& Bitmap() = 0;
    virtual TLayerCollection& Layers() = 0;
    virtual float Scale() const = 0; // 1.0 = 100 %
    virtual int ViewWidth() const = 0; // the view control's size in view pixels
    virtual int ViewHeight() const = 0;
};

} // namespace tavrin
