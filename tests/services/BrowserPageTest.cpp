// The pages the program writes, checked where they are used: in a real browser. The pieces' page must
// show the original picture pixel for pixel, and the image-map markup must send each point to the link
// of the area under it. Headless Chromium reads local files only: no display and no network.
#include "core/FakeView.h"
#include "core/ImgEditor.h"
#include "core/ImgMap.h"
#include "core/LayerCollection.h"
#include "core/MapMarkup.h"
#include "core/SliceGrid.h"
#include "services/MessageSeamScripted.h"
#include "services/SaveSlices.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace tavrin;
using tavrin::test::FakeView;

namespace {

QString BrowserPath()
{
    for (const char* name : {"chromium", "chromium-browser"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

// Runs the headless browser on a local page; `mode` is "--screenshot=<file>" or "--dump-dom".
// Returns what it printed on standard output, or fails the test.
QByteArray RunBrowser(const QString& page, const QString& mode, int width, int height, const QString& profile)
{
    QProcess browser;
    browser.setProgram(BrowserPath());
    // The window is taller than the page: the screenshot of a window barely larger than the page may
    // be taken before the lower rows are laid out. The test crops to the picture.
    browser.setArguments({QStringLiteral("--headless=new"), QStringLiteral("--no-sandbox"),
                          QStringLiteral("--disable-gpu"), QStringLiteral("--hide-scrollbars"),
                          QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
                          QStringLiteral("--force-device-scale-factor=1"),
                          QStringLiteral("--window-size=%1,%2").arg(std::max(width, 500)).arg(height + 300),
                          QStringLiteral("--virtual-time-budget=5000"),
                          QStringLiteral("--user-data-dir=") + profile, mode,
                          QUrl::fromLocalFile(page).toString()});
    browser.setProcessChannelMode(QProcess::SeparateChannels);
    browser.start();
    EXPECT_TRUE(browser.waitForFinished(120000)) << "the browser did not finish";
    return browser.readAllStandardOutput();
}

// A picture whose every pixel differs from its neighbours, so a piece out of place shows.
TBitmap32 PatternPicture(int width, int height)
{
    TBitmap32 picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, MakeColor32(255, (x * 7 + y) & 0xFF, (y * 5 + x * 3) & 0xFF, (x * y) & 0xFF));
    return picture;
}

class BrowserPage : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (BrowserPath().isEmpty()) GTEST_SKIP() << "no chromium on this machine: the browser checks cannot run";
        ASSERT_TRUE(dir.isValid());
    }
    // The link the browser finds at each point of the picture, with the markup as the page's map:
    // the hrefs, or "none" where no area is, separated by spaces.
    std::string LinksAt(const std::string& mapMarkup, int width, int height,
                        const std::vector<TPoint>& points)
    {
        const QString picturePath = dir.filePath(QStringLiteral("map.png"));
        EXPECT_TRUE(QImage(width, height, QImage::Format_RGB32).save(picturePath));
        std::string list;
        for (const TPoint& point : points)
            list += "[" + std::to_string(point.X) + "," + std::to_string(point.Y) + "],";
        const std::string page =
            "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
            "<style>body{margin:0}img{display:block}</style></head><body>\r\n" +
            ImgElementText(picturePath.toStdString(), width, height) + "\r\n" + mapMarkup +
            "\r\n<pre id=\"out\"></pre><script>window.addEventListener('load', () => {"
            "const points = [" + list + "];"
            "document.getElementById('out').textContent = points.map(p => {"
            "const e = document.elementFromPoint(p[0], p[1]);"
            "return e && e.tagName === 'AREA' ? e.getAttribute('href') : 'none'; }).join(' ');"
            "});</script></body></html>";
        QFile file(dir.filePath(QStringLiteral("map.html")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(page.data(), static_cast<qint64>(page.size()));
        file.close();
        const QByteArray dom = RunBrowser(file.fileName(), QStringLiteral("--dump-dom"), width, height,
                                          dir.filePath(QStringLiteral("profile")));
        const int start = dom.indexOf("<pre id=\"out\">");
        if (start < 0) {
            ADD_FAILURE() << dom.toStdString();
            return {};
        }
        return dom.mid(start + 14, dom.indexOf("</pre>", start) - start - 14).toStdString();
    }

    QTemporaryDir dir;
};

std::vector<int> Numbers(const std::string& coords)
{
    std::vector<int> values;
    std::stringstream in(coords);
    for (std::string part; std::getline(in, part, ',');) values.push_back(std::stoi(part));
    return values;
}

} // namespace

TEST_F(BrowserPage, PiecesPageShowsTheOriginalPicture)
{
    const int width = 251, height = 133;
    const TBitmap32 picture = PatternPicture(width, height);
    // Uneven guides, one repeated and one on the edge, as people leave them.
    const TSliceGrid grid = MakeSliceGrid({37, 160, 160, 251}, {51, 52, 0}, width, height);
    ASSERT_EQ(grid.CellCount(), 3 * 3);
    TScriptedMessageSeam messages;
    const TSlicesRequest request{dir.path(), QStringLiteral("조각 그림"), QStringLiteral("png"), true,
                                 QStringLiteral("조각 그림")};
    const TSlicesOutcome outcome = SaveSlices(picture, grid, request, messages);
    ASSERT_TRUE(outcome.Error.isEmpty()) << outcome.Error.toStdString();
    ASSERT_EQ(outcome.Written, 9);
    ASSERT_TRUE(outcome.PageWritten);

    const QString shot = dir.filePath(QStringLiteral("shot.png"));
    RunBrowser(dir.filePath(QStringLiteral("조각 그림.html")), QStringLiteral("--screenshot=") + shot, width, height,
               dir.filePath(QStringLiteral("profile")));
    const QImage seen = QImage(shot).convertToFormat(QImage::Format_RGB32);
    ASSERT_GE(seen.width(), width);
    ASSERT_GE(seen.height(), height);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            wrong += (seen.pixel(x, y) & 0xFFFFFFu) != (picture.Pixel(x, y) & 0xFFFFFFu);
    EXPECT_EQ(wrong, 0) << "pixels that differ from the original";
    EXPECT_EQ(seen.pixel(width, 0) & 0xFFFFFFu, 0xFFFFFFu) << "the page is wider than the picture";
    EXPECT_EQ(seen.pixel(0, height) & 0xFFFFFFu, 0xFFFFFFu) << "the page is taller than the picture";
}

TEST_F(BrowserPage, MapMarkupSendsEachPointToItsArea)
{
    FakeView view{300, 150};
    TImgEditor doc;
    doc.AttachView(view);
    doc.FDownPos = {20, 20};
    doc.AddRectArea({80, 60});
    doc.FDownPos = {150, 60};
    doc.AddCircleArea({170, 80});
    doc.BeginPolygon();
    for (const TPoint p : {TPoint{200, 10}, TPoint{260, 10}, TPoint{230, 100}}) doc.AddPolygonPoint(p.X, p.Y);
    std::vector<std::vector<int>> coords;
    for (int i = 0; i < view.Layers().Count(); ++i) {
        auto* area = dynamic_cast<TImageMapLyer*>(view.Layers().Items(i));
        if (!area) continue;
        area->FHref = "area" + std::to_string(coords.size()) + ".html";
        coords.push_back(Numbers(StoredAreaText(*area).Coords));
    }
    ASSERT_EQ(coords.size(), 3u);
    const auto& r = coords[0];
    const auto& c = coords[1];
    const auto& p = coords[2];
    ASSERT_EQ(r.size(), 4u);
    ASSERT_EQ(c.size(), 3u);
    ASSERT_EQ(p.size(), 6u);
    // A point inside each area, then one just outside each.
    const std::vector<std::pair<TPoint, std::string>> probes = {
        {{(r[0] + r[2]) / 2, (r[1] + r[3]) / 2}, "area0.html"},
        {{c[0], c[1]}, "area1.html"},
        {{(p[0] + p[2] + p[4]) / 3, (p[1] + p[3] + p[5]) / 3}, "area2.html"},
        {{r[2] + 2, r[3] + 2}, "none"},
        {{c[0] + c[2] + 2, c[1]}, "none"},
        {{p[4], p[5] + 3}, "none"},
    };

    std::vector<TPoint> points;
    std::string expected;
    for (const auto& [point, href] : probes) {
        points.push_back(point);
        expected += (expected.empty() ? "" : " ") + href;
    }
    EXPECT_EQ(LinksAt(doc.BuildMapMarkup(), 300, 150, points), expected);
}

// A polygon dragged away takes its link along: the browser finds it where it is drawn, not where it
// was clicked.
TEST_F(BrowserPage, MovedPolygonLinksWhereItIsDrawn)
{
    FakeView view{300, 150};
    TImgEditor doc;
    doc.AttachView(view);
    doc.BeginPolygon();
    for (const TPoint p : {TPoint{20, 20}, TPoint{100, 20}, TPoint{60, 80}}) doc.AddPolygonPoint(p.X, p.Y);
    TMapPolygonLayer* polygon = doc.FPolygon;
    polygon->FHref = "moved.html";
    doc.FToolMode = TToolMode::tmNone;
    doc.PressUpdate(TMouseButton::mbLeft, 60, 40, polygon);
    doc.DragArea(polygon, 110, 60); // (+50, +20)
    ASSERT_EQ(polygon->CoordsText(), "70,40,150,40,110,100");
    // Inside the triangle where it is now, near its corners too; then where it was.
    EXPECT_EQ(LinksAt(doc.BuildMapMarkup(), 300, 150,
                      {{110, 60}, {76, 42}, {144, 42}, {110, 95}, {60, 40}, {30, 22}, {60, 30}}),
              "moved.html moved.html moved.html moved.html none none none");
}
