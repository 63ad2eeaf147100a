#pragma once
// A shown editor window on a picture, with a scripted message seam, for widget tests.

#include "core/InfoLayer.h"
#include "core/LayerCollection.h"
#include "editor/FmEditor.h"
#include "editor/Image32.h"
#include "services/MessageSeamScripted.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tavrin::test {

struct EditorFixture : ::testing::Test
{
    TScriptedMessageSeam messages;
    std::unique_ptr<TFmEditor> editor;

    void Open(int width, int height, QSize windowSize = {640, 480})
    {
        editor = std::make_unique<TFmEditor>(messages);
        editor->resize(windowSize);
        TBitmap32& b = editor->Image().Bitmap();
        b.SetSize(width, height);
        b.Clear(0xFF336699);
        editor->Image().BitmapChanged();
        editor->UpdateImageSize();
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }

    TImage32& image() { return editor->Image(); }
    TImgEditor& doc() { return editor->Document(); }
    TLayerCollection& layers() { return image().Layers(); }
    QScrollBar* hbar() { return editor->ScrollBox().horizontalScrollBar(); }
    QScrollBar* vbar() { return editor->ScrollBox().verticalScrollBar(); }

    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(&image(), button, mods, from);
        QTest::mouseMove(&image(), (from + to) / 2);
        QTest::mouseMove(&image(), to);
        QTest::mouseRelease(&image(), button, mods, to);
    }

    // The first click, then the second press that the toolkit reports as a double click.
    void DoubleClick(QPoint p)
    {
        QTest::mouseClick(&image(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(&image(), Qt::LeftButton, {}, p);
    }

    std::vector<TCustomLayer*> LayersOfKind(int kind)
    {
        std::vector<TCustomLayer*> found;
        for (int i = 0; i < layers().Count(); ++i)
            if (layers().Items(i)->Tag == kind)
                found.push_back(layers().Items(i));
        return found;
    }
};

} // namespace tavrin::test
