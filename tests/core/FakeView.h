#pragma once
// A view for document tests: a picture, its layers, a zoom and a control size, without any toolkit.

#include "core/Bitmap32.h"
#include "core/EditorView.h"
#include "core/LayerCollection.h"
#include "core/RoundEven.h"

namespace tavrin::test {

class FakeView : public IEditorView
{
public:
    explicit FakeView(int width = 400, int height = 300, float scale = 1.0f)
    {
        FPicture.SetSize(width, height);
        SetScale(scale);
    }

    TBitmap32& Bitmap() override { return FPicture; }
    TLayerCollection& Layers() override { return FLayers; }
    float Scale() const override { return FScale; }
    int ViewWidth() const override { return RoundEven(static_cast<long double>(FPicture.Width()) * FScale); }
    int ViewHeight() const override { return RoundEven(static_cast<long double>(FPicture.Height()) * FScale); }

    void SetScale(float scale)
    {
        FScale = scale;
        FLayers.SetGeometry(TViewGeometry::Make(FPicture.Width(), FPicture.Height(), scale));
    }

private:
    TBitmap32 FPicture;
    TLayerCollection FLayers; // declared after the picture: destroyed first, like the view's layers
    float FScale = 1.0f;
};

} // namespace tavrin::test
