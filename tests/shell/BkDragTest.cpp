#include "shell/BK_Drag.h"
#include "shell/DropFilter.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

using namespace tavrin;

namespace {

const QStringList kPictureFilter = {"JPG", "PNG", "GIF", "EMF", "ICO", "WMF", "BMP"};

struct MatchCase
{
    const char16_t* name;
    QStringList filter;
    bool allExt;
    bool accepted;
};

TEST(DropFilter, MatchesTheLastExtensionOnly)
{
    const MatchCase cases[] = {
        {u"C:\\PIC\\photo.jpg", kPictureFilter, false, true},
        {u"LOGO.Png", kPictureFilter, false, true},
        {u"/home/me/a.b/banner.GIF", kPictureFilter, false, true},
        {u".png", kPictureFilter, false, true},
        {u"photo.jpeg", kPictureFilter, false, false},
        {u"photo.jpg.bak", kPictureFilter, false, false},
        {u"archive.tar", kPictureFilter, false, false},
        {u"README", kPictureFilter, false, false},
        {u"photo.", kPictureFilter, false, false},
        {u"photojpg", kPictureFilter, false, false},
        {u"C:\\my.pictures\\readme", kPictureFilter, false, false},
        {u"D:my.png:stream", kPictureFilter, false, false},
        {u"/home/my.pictures/readme", kPictureFilter, false, false},
        // only a to z change case: "é" and "É" stay different
        {u"photo.jpé", {"jpé"}, false, true},
        {u"photo.jpÉ", {"jpé"}, false, false},
        {u"archive.tar", kPictureFilter, true, true},
        {u"README", {}, true, true},
        {u"photo.jpg", {}, false, false},
        {u"photo.jpg", {"", ""}, false, false},
    };
    for (const MatchCase& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        EXPECT_EQ(AcceptsDropName(name, NormalizeDropFilter(c.filter), c.allExt), c.accepted)
            << name.toStdString() << " allExt=" << c.allExt;
    }
}

TEST(DropFilter, StoredUpperCasedWithoutEmptyEntries)
{
    TBK_Drag drag;
    drag.SetFilter({"jpg", "", "Png", "gif"});
    EXPECT_EQ(drag.Filter(), QStringList({"JPG", "PNG", "GIF"}));
}

std::unique_ptr<QMimeData> Files(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls.append(QUrl::fromLocalFile(p));
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> MozUrl(const QString& text)
{
    auto data = std::make_unique<QMimeData>();
    data->setData("text/x-moz-url",
                  QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * sizeof(char16_t)));
    return data;
}

struct DropTarget : ::testing::Test
{
    TBK_Drag drag;
    QWidget window;
    QList<QStringList> drops;

    void SetUp() override
    {
        drag.SetFilter(kPictureFilter);
        drag.OnDragDropFile = [this](const QStringList& items) { drops.append(items); };
        drag.Register(&window);
    }

    // Enter then drop on `receiver`, as the window routes them; returns whether each was taken with the copy
    // effect.
    std::pair<bool, bool> EnterAndDrop(QObject* receiver, const QMimeData& data, QPoint pos = {5, 5})
    {
        QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(receiver, &enter);
        const bool entered = enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
        QDropEvent drop(QPointF(pos), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(receiver, &drop);
        const bool dropped = drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
        return {entered, dropped};
    }
};

} // namespace

TEST_F(DropTarget, TakesAcceptedFilesInDragOrderAsDropped)
{
    EXPECT_TRUE(window.acceptDrops());
    auto data = Files({"/pics/a.JPG", "/pics/b.txt", "/pics/c.png"});
    EXPECT_EQ(EnterAndDrop(&window, *data), std::make_pair(true, true));
    // The handler runs after the drop has been answered, from the event loop.
    EXPECT_TRUE(drops.isEmpty());
    QCoreApplication::processEvents();
    ASSERT_EQ(drops.size(), 1);
    EXPECT_EQ(drops[0], QStringList({"/pics/a.JPG", "/pics/c.png"}));
}

TEST_F(DropTarget, RefusesDragsWithNothingToOpen)
{
    auto text = Files({"/pics/b.txt"});
    EXPECT_EQ(EnterAndDrop(&window, *text), std::make_pair(false, false));
    QDragMoveEvent move(QPoint(5, 5), Qt::CopyAction, text.get(), Qt::LeftButton, {});
    QApplication::sendEvent(&window, &move);
    EXPECT_FALSE(move.isAccepted());

    QMimeData plain;
    plain.setText("http://example.com/");
    EXPECT_EQ(EnterAndDrop(&window, plain), std::make_pair(false, false));

    drag.SetEnabled(false);
    auto picture = Files({"/pics/a.jpg"});
    EXPECT_EQ(EnterAndDrop(&window, *picture), std::make_pair(false, false));
    QCoreApplication::processEvents();
    EXPECT_TRUE(drops.isEmpty());

    drag.SetEnabled(true);
    drag.SetFilter({});
    EXPECT_EQ(EnterAndDrop(&window, *picture), std::make_pair(false, false));
    drag.SetAllExt(true);
    EXPECT_EQ(EnterAndDrop(&window, *text), std::make_pair(true, true));
}

TEST_F(DropTarget, MovesFollowTheEnterUntilLeave)
{
    auto data = Files({"/pics/a.gif"});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(&window, &move);
    EXPECT_TRUE(move.isAccepted());
    EXPECT_EQ(move.dropAction(), Qt::CopyAction);

    QDragLeaveEvent leave;
    QApplication::sendEvent(&window, &leave);
    QDragMoveEvent after(QPoint(6, 6), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(&window, &after);
    EXPECT_FALSE(after.isAccepted());
}

TEST_F(DropTarget, WebLinksGiveTheirAddressAfterTheFiles)
{
    QMimeData link;
    link.setUrls({QUrl::fromLocalFile("/pics/a.png"), QUrl("https://example.com/img/banner.gif"),
                  QUrl("https://example.com/second")});
    EXPECT_EQ(EnterAndDrop(&window, link), std::make_pair(true, true));

    auto moz = MozUrl("https://example.com/page.html\nA page");
    EXPECT_EQ(EnterAndDrop(&window, *moz), std::make_pair(true, true));
    auto mozFile = MozUrl("file:///pics/a.png\na.png"); // a local file is no web address
    EXPECT_EQ(EnterAndDrop(&window, *mozFile), std::make_pair(false, false));

    QCoreApplication::processEvents();
    ASSERT_EQ(drops.size(), 2);
    EXPECT_EQ(drops[0], QStringList({"/pics/a.png", "https://example.com/img/banner.gif"}));
    EXPECT_EQ(drops[1], QStringList({"https://example.com/page.html"}));
}

TEST_F(DropTarget, DropsOverWidgetsInsideTheWindowReachIt)
{
    // A frame with an inner window (like an editor window) that holds a plain view and a line edit,
    // which takes text drops of its own. Events go through the window's own routing.
    auto* inner = new QWidget(&window);
    auto* view = new QWidget(inner);
    auto* edit = new QLineEdit(inner);
    auto* layout = new QVBoxLayout(inner);
    layout->addWidget(view);
    layout->addWidget(edit);
    inner->setGeometry(10, 10, 200, 120);
    window.resize(240, 160);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(edit->acceptDrops());
    QWindow* handle = window.windowHandle();
    const QPoint overView = view->mapTo(&window, view->rect().center());
    const QPoint overEdit = edit->mapTo(&window, edit->rect().center());

    auto pictures = Files({"/pics/x.bmp"});
    pictures->setText("/pics/x.bmp"); // file managers add the names as text, which the line edit would take
    EXPECT_EQ(EnterAndDrop(handle, *pictures, overView), std::make_pair(true, true));
    EXPECT_EQ(EnterAndDrop(handle, *pictures, overEdit), std::make_pair(true, true));
    QCoreApplication::processEvents();
    EXPECT_EQ(drops, QList<QStringList>({{"/pics/x.bmp"}, {"/pics/x.bmp"}}));
    EXPECT_EQ(edit->text(), "");

    QMimeData text; // refused here, so the line edit keeps its own text drop
    text.setText("hello");
    EXPECT_EQ(EnterAndDrop(handle, text, overEdit).second, true);
    EXPECT_EQ(edit->text(), "hello");
    QCoreApplication::processEvents();
    EXPECT_EQ(drops.size(), 2);
}

TEST(DropTargetLifetime, WindowsMayGoFirstAndUnregisterRestores)
{
    auto drag = std::make_unique<TBK_Drag>();
    QWidget kept;
    auto gone = std::make_unique<QWidget>();
    drag->Register(&kept);
    drag->Register(gone.get());
    gone.reset();
    drag->Unregister(&kept);
    EXPECT_FALSE(kept.acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/pics/a.png")});
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&kept, &enter);
    EXPECT_FALSE(enter.isAccepted());

    drag->Register(&kept);
    drag.reset();
    EXPECT_FALSE(kept.acceptDrops());
}
