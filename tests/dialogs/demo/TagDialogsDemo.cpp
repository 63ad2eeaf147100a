// Shows the image-map tag dialogs on a sample area, to look at them by hand (e.g. under Xvfb).
// Usage: tag_dialogs_demo tag|all
//   tag: the area tag dialog for a rectangle with Korean texts; all: the all-tags dialog.
#include "core/ImgMap.h"
#include "core/LayerCollection.h"
#include "core/MapMarkup.h"
#include "dialogs/FmImgMapAll.h"
#include "dialogs/FmImgTag.h"

#include <QApplication>

using namespace tavrin;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("TAVRIN 이미지편집"));
    owner.setGeometry(40, 40, 800, 600);
    owner.show();

    TLayerCollection layers;
    auto* rect = layers.Add<TMapRectLayer>();
    rect->FId = 3;
    rect->PlaceRect(12, 8, 180, 52);
    rect->FHref = "https://example.com/행사/안내.html?id=7&lang=ko";
    rect->FTarget = "_blank";
    rect->FAlt = "봄맞이 할인 \"최대 50%\" 안내";

    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tag");
    if (which == QStringLiteral("all")) {
        TFmImgMapAll dialog(&owner);
        dialog.SetImageSize(468, 60);
        dialog.SetFileName(QStringLiteral("/home/kim/사진/배너.gif"));
        TAreaText second{"circle", "300,30,25", "상품.html", "", "새 상품"};
        dialog.SetMapText(QString::fromStdString("<map name=\"TavrinImgMap\">\r\n" +
                                                 AreaElementLine(StoredAreaText(*rect)) +
                                                 AreaElementLine(second) + "</map>"));
        return dialog.exec();
    }
    TFmImgTag dialog(&owner);
    dialog.SetArea(*rect);
    return dialog.exec();
}
