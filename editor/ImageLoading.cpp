#include "editor/ImageLoading.h"

#include "ImgLib/PictureFile.h"
#include "ImgLib/PictureFormats.h"
#include "ImgLib/QtImageBridge.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>

namespace tavrin {

TBitmap32 MissingFilePlaceholder()
{
    QImage image = WhiteCanvas(32, 32);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::red, 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(2, 2, 29, 29);
    painter.drawLine(2, 29, 29, 2);
    painter.end();
    return BitmapFromImage(image);
}

TLoadedBitmap LoadBitmapByExtension(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile()) return {std::make_unique<TBitmap32>(MissingFilePlaceholder()), {}};
    const QString ending = fileName.right(3).toUpper();
    const TPictureFormat* format =
        ending.size() == 3 ? PictureFormats().FindByExtension(ending.toStdString()) : nullptr;
    if (!format) return {nullptr, QStringLiteral("Assertion failure")};
    auto bitmap = std::make_unique<TBitmap32>();
    const TReadResult result = ReadPictureFile(QFile::encodeName(fileName).toStdString(), *format, *bitmap);
    if (!result) return {nullptr, QString::fromStdString(result.Error)};
    return {std::move(bitmap), {}};
}

} // namespace tavrin
