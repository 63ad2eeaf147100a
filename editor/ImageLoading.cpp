#include "editor/ImageLoading.h"

#include "ImgLib/PictureFile.h"
#include "ImgLib/PictureFormats.h"
#include "ImgLib/QtImageBridge.h"
#include "services/NameEndings.h"

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

namespace {

// "Assertion failure" alone tells a person nothing; a second line says which ending is not readable and
// which are.
QString UnsupportedEndingMessage(const QString& fileName)
{
    QStringList extensions;
    for (const TPictureFormat& format : PictureFormats().Formats())
        extensions << QString::fromStdString(format.Extension);
    return QStringLiteral("Assertion failure\n이름이 \"%1\"(으)로 끝나는 파일은 열 수 없습니다. "
                          "열 수 있는 파일 이름의 끝: %2")
        .arg(ShownEndingOf(fileName), EndingList(extensions));
}

} // namespace

TLoadedBitmap LoadBitmapByExtension(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile()) return {std::make_unique<TBitmap32>(MissingFilePlaceholder()), {}};
    const QString ending = FormatEndingOf(fileName);
    const TPictureFormat* format =
        ending.size() == 3 ? PictureFormats().FindByExtension(ending.toStdString()) : nullptr;
    if (!format) return {nullptr, UnsupportedEndingMessage(fileName)};
    auto bitmap = std::make_unique<TBitmap32>();
    const TReadResult result = ReadPictureFile(QFile::encodeName(fileName).toStdString(), *format, *bitmap);
    if (!result) return {nullptr, QString::fromStdString(result.Error)};
    return {std::move(bitmap), {}};
}

} // namespace tavrin
