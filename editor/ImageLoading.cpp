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

namespace {

// "Assertion failure" alone tells a person nothing; a second line says which ending is not readable and
// which are.
QString UnsupportedEndingMessage(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString ending = dot >= 0 ? name.mid(dot) : name.right(3);
    QStringList known{QStringLiteral(".JPEG")};
    for (const TPictureFormat& format : PictureFormats().Formats())
        known << QStringLiteral(".") + QString::fromStdString(format.Extension).toUpper();
    known.sort();
    known.removeDuplicates();
    return QStringLiteral("Assertion failure\n이름이 \"%1\"(으)로 끝나는 파일은 열 수 없습니다. "
                          "열 수 있는 파일 이름의 끝: %2")
        .arg(ending, known.join(QStringLiteral(", ")));
}

// The ending that names the reader: the last three characters, upper-cased, except that a name ending
// in "jpeg" is a JPEG, as the desktop and the save dialog's JPEG entry have it.
QString ReaderEnding(const QString& fileName)
{
    if (fileName.right(4).compare(QStringLiteral("jpeg"), Qt::CaseInsensitive) == 0) return QStringLiteral("JPG");
    return fileName.right(3).toUpper();
}

} // namespace

TLoadedBitmap LoadBitmapByExtension(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile()) return {std::make_unique<TBitmap32>(MissingFilePlaceholder()), {}};
    const QString ending = ReaderEnding(fileName);
    const TPictureFormat* format =
        ending.size() == 3 ? PictureFormats().FindByExtension(ending.toStdString()) : nullptr;
    if (!format) return {nullptr, UnsupportedEndingMessage(fileName)};
    auto bitmap = std::make_unique<TBitmap32>();
    const TReadResult result = ReadPictureFile(QFile::encodeName(fileName).toStdString(), *format, *bitmap);
    if (!result) return {nullptr, QString::fromStdString(result.Error)};
    return {std::move(bitmap), {}};
}

} // namespace tavrin
