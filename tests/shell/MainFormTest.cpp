#include "editor/FmEditor.h"
#include "editor/Image32.h"
#include "services/FileDialogSeam.h"
#include "services/IniFileStorage.h"
#include "services/MessageSeamScripted.h"
#include "MainFormFixture.h"
#include "shell/MainForm.h"

#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <deque>
#include <memory>

using namespace tavrin;

namespace {

class ScriptedFileDialogs : public IFileDialogSeam
{
public:
    std::deque<QStringList> Answers;
    QString LastTitle, LastFilter;
    QStringList GetOpenFileNames(QWidget*, const QString& title, const QString& filter) override
    {
        LastTitle = title;
        LastFilter = filter;
        if (Answers.empty())
            return {};
        QStringList next = Answers.front();
        Answers.pop_front();
        return next;
    }
    TSaveDialogAnswer GetSaveFileName(QWidget*, const TSaveDialogRequest&) override { return {}; }
};

QString ReadText(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

struct MainFormFixture : test::MainFormFixture<ScriptedFileDialogs>
{
    QString Picture(const QString& name, QSize size = {30, 20})
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = dir.filePath(name);
        const QString suffix = QFileInfo(name).suffix().toUpper();
        image.save(path, suffix == "JPG" || suffix == "JPEG" ? "JPG" : nullptr);
        return path;
    }
    QTabBar& tabs() { return form->PageControl(); }
    QStringList TabTexts()
    {
        QStringList texts;
        for (int i = 0; i < tabs().count(); ++i)
            texts << tabs().tabText(i);
        return texts;
    }
    QString ActiveCaption() { return form->ActiveEditor() ? form->ActiveEditor()->windowTitle() : QString(); }
    void Close(TFmEditor* editor)
    {
        editor->Document().FFileName = "x";
        QPointer<QMdiSubWindow> sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget());
        ASSERT_TRUE(sub->close());
        for (int i = 0; i < 50 && sub; ++i) // the window goes with the event loop
            QTest::qWait(5);
        ASSERT_TRUE(sub.isNull());
        QCoreApplication::processEvents();
    }
    void Drop(QMimeData& data)
    {
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        QApplication::sendEvent(form.get(), &drop);
        QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(MainFormFixture, StartsWithTheFrameOnly)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("TAVRIN - 이미지 편집 프로그램"));
    EXPECT_FALSE(tabs().isVisible());
    EXPECT_EQ(form->ActiveEditor(), nullptr);
    form->PMICloseClick(); // with no editor window: nothing
}

TEST_F(MainFormFixture, TabStripFollowsTheEditorWindows)
{
    TFmEditor* first = form->NewEditor();
    EXPECT_FALSE(tabs().isVisible());
    EXPECT_EQ(tabs().count(), 1);
    TFmEditor* second = form->NewEditor();
    TFmEditor* third = form->NewEditor();
    EXPECT_TRUE(tabs().isVisible());
    EXPECT_EQ(TabTexts(), (QStringList{"새 그림1", "새 그림2", "새 그림3"}));
    EXPECT_EQ(tabs().currentIndex(), 2);

    form->MdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    EXPECT_EQ(tabs().currentIndex(), 0); // the tab follows the window

    tabs().setCurrentIndex(2); // and the window follows the tab
    EXPECT_EQ(form->ActiveEditor(), third);

    form->MdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    Close(second); // the middle one: the following tab becomes active, with its window
    EXPECT_EQ(TabTexts(), (QStringList{"새 그림1", "새 그림3"}));
    EXPECT_EQ(tabs().currentIndex(), 1);
    EXPECT_EQ(form->ActiveEditor(), third);

    Close(third); // the last tab: the first becomes active
    EXPECT_EQ(tabs().currentIndex(), 0);
    EXPECT_EQ(form->ActiveEditor(), first);
    EXPECT_TRUE(tabs().isVisible());
    Close(first);
    EXPECT_FALSE(tabs().isVisible());
    EXPECT_EQ(tabs().count(), 0);
}

TEST_F(MainFormFixture, RunningNumbersSurviveClosedWindowsAndCancelledDialogs)
{
    Close(form->NewEditor());
    Close(form->NewEditor());
    int asked = 0;
    form->AskImageSize = [&]() -> std::optional<TImageSize> {
        if (++asked <= 2)
            return std::nullopt;
        return TImageSize{64, 48};
    };
    form->FileNewExecute();
    form->FileNewExecute();
    EXPECT_EQ(form->ActiveEditor(), nullptr);
    form->FileNewExecute();
    ASSERT_NE(form->ActiveEditor(), nullptr);
    EXPECT_EQ(ActiveCaption(), QStringLiteral("새 그림3"));
    EXPECT_EQ(form->ActiveEditor()->Image().Bitmap().Width(), 64);
    EXPECT_EQ(form->ActiveEditor()->GetScalePercent(), 200);
}

TEST_F(MainFormFixture, NewImageSizesOutOfReach)
{
    form->AskImageSize = [] { return std::optional<TImageSize>(TImageSize{100000, 100000}); };
    form->FileNewExecute();
    EXPECT_EQ(form->ActiveEditor(), nullptr);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.startsWith(QStringLiteral("그림이 너무 큽니다")));

    form->AskImageSize = [] { return std::optional<TImageSize>(TImageSize{-5, 30}); };
    form->FileNewExecute();
    ASSERT_NE(form->ActiveEditor(), nullptr);
    EXPECT_TRUE(form->ActiveEditor()->Image().Bitmap().Empty());
}

TEST_F(MainFormFixture, OpenSelectionStopsAtTheFirstFailure)
{
    const QString good = Picture("good.png");
    const QString bad = Picture("bad.ppm", {4, 4});
    const QString later = Picture("later.png");
    dialogs.Answers = {{good, bad, later}};
    form->ActionFileOpenExecute();
    EXPECT_EQ(dialogs.LastTitle, QStringLiteral("이미지 열기"));
    EXPECT_TRUE(dialogs.LastFilter.contains("*.png"));
    EXPECT_EQ(TabTexts(), (QStringList{"good.png", "새 그림2"}));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text.section(u'\n', 0, 0), QStringLiteral("Assertion failure"));
    EXPECT_TRUE(messages.Shown[0].Text.contains(QStringLiteral("\".ppm\"(으)로 끝나는 파일은 열 수 없습니다")));
    EXPECT_TRUE(messages.Shown[0].Caption.isEmpty()); // the application title
}

TEST_F(MainFormFixture, DroppedFilesAndLinks)
{
    const QString a = Picture("a.JPG");
    const QString c = Picture("c.png");
    const QString d = Picture("d.jpeg");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(dir.filePath("b.txt")), QUrl::fromLocalFile(c),
                   QUrl::fromLocalFile(d)});
    Drop(files);
    EXPECT_EQ(TabTexts(), (QStringList{"a.JPG", "c.png", "d.jpeg"}));
    EXPECT_TRUE(messages.Shown.empty());

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(dir.filePath("b.txt"))});
    Drop(text);
    EXPECT_EQ(tabs().count(), 3);

    QMimeData link;
    link.setUrls({QUrl("http://example.com/pics/banner")});
    Drop(link);
    ASSERT_EQ(tabs().count(), 4);
    EXPECT_EQ(ActiveCaption(), QStringLiteral("//example.com/pics/banner") /* after the last ":" */);
    EXPECT_EQ(form->ActiveEditor()->Image().Bitmap().Width(), 32); // the placeholder
}

TEST_F(MainFormFixture, CloseAsksEveryEditorAndOneRefusalCancels)
{
    form->NewEditor();
    form->NewEditor();
    messages.Answers = {TMsgButton::Yes, TMsgButton::No};
    EXPECT_FALSE(form->close());
    EXPECT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(form->MdiArea().subWindowList().size(), 2);
}

TEST(MainFormSettings, FirstStartWritesBothFiles)
{
    QTemporaryDir dir;
    TScriptedMessageSeam messages;
    ScriptedFileDialogs dialogs;
    {
        TAppIniFileStorage status(dir.filePath("status.ini"));
        {
            TMainForm form({messages, dialogs, status, dir.path()});
            form.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
            form.close();
        }
        EXPECT_EQ(ReadText(dir.filePath("config.ini")), QStringLiteral("[option]\r\nUseViewSelected=1\r\n"));
    }
    const QString statusText = ReadText(dir.filePath("status.ini"));
    const QStringList lines = statusText.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 9);
    EXPECT_EQ(lines[0], "[MainForm]");
    EXPECT_EQ(lines[1], "FormVersion=0");
    EXPECT_TRUE(lines[2].startsWith("Flags="));
    EXPECT_TRUE(lines[3].startsWith("PixelsPerInch="));
    EXPECT_TRUE(lines[4].startsWith("MinMaxPos("));
    EXPECT_TRUE(lines[5].startsWith("MinMaxPos="));
    EXPECT_TRUE(lines[6].startsWith("NormPos("));
    EXPECT_TRUE(lines[7].startsWith("NormPos="));
    EXPECT_EQ(lines[8], "ColorDialog_Color=clGreen");
    EXPECT_TRUE(messages.Shown.empty());
}

TEST(MainFormSettings, DamagedFilesGiveDefaults)
{
    QTemporaryDir dir;
    {
        QFile config(dir.filePath("config.ini"));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QByteArray(100000, 'x') + "\n\x01\x02\xff[option]\nUseViewSelected=zz\n");
        QFile status(dir.filePath("status.ini"));
        ASSERT_TRUE(status.open(QIODevice::WriteOnly));
        status.write("[MainForm]\nFlags=banana\nNormPos=1,2\nColorDialog_Color=notacolour\n\x00\x01garbage");
    }
    TScriptedMessageSeam messages;
    ScriptedFileDialogs dialogs;
    TAppIniFileStorage status(dir.filePath("status.ini"));
    TMainForm form({messages, dialogs, status, dir.path()});
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(form.MMIViewSelected->isChecked());
    EXPECT_EQ(form.ColorDialogColor, TColor{0x008000});
    EXPECT_GT(form.width(), 100);
}

TEST_F(MainFormFixture, RightClickOnATabSelectsItBeforeItsMenu)
{
    TFmEditor* first = form->NewEditor();
    form->NewEditor();
    ASSERT_EQ(tabs().currentIndex(), 1);
    const QPoint onFirst = tabs().tabRect(0).center();
    QTest::mousePress(&tabs(), Qt::RightButton, {}, onFirst);
    EXPECT_EQ(tabs().currentIndex(), 0);
    EXPECT_EQ(form->ActiveEditor(), first);
    QTest::mouseRelease(&tabs(), Qt::RightButton, {}, onFirst);
    EXPECT_TRUE(form->PopupMenuTab().isVisible());
    form->PopupMenuTab().hide();
    first->Document().FFileName = "x";
    QPointer<TFmEditor> watch = first;
    form->PopupMenuTab().actions().first()->trigger(); // "창닫기(&C)" closes that window
    for (int i = 0; i < 50 && watch; ++i)
        QTest::qWait(5);
    EXPECT_TRUE(watch.isNull());
    QCoreApplication::processEvents();
    EXPECT_EQ(TabTexts(), (QStringList{"새 그림2"}));
}
