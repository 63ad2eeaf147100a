#include "services/ImgFunSave.h"

#include "ImgLib/BmpWriter.h"
#include "ImgLib/GifWriter.h"
#include "ImgLib/IconWriter.h"
#include "ImgLib/JpegWriter.h"
#include "ImgLib/PcxWriter.h"
#include "ImgLib/PngWriter.h"
#include "core/Bitmap32.h"
#include "services/FileReplace.h"
#include "services/MessageSeam.h"
#include "services/NameEndings.h"

#include <QDir>
#include <QStringList>

#include <array>
#include <new>
#include <string>

namespace tavrin {
namespace {

constexpr std::array<int, 8> kIconSides{16, 24, 32, 48, 64, 72, 96, 128};
constexpr std::array<const char*, 8> kWriterExtensions{"jpg", "gif", "png", "mng", "bmp", "pcx", "ico", "cur"};

TWriteResult Encode(const TBitmap32& bitmap, const QString& extension, int bitsPerPixel, std::string& out)
{
    if (extension == u"bmp") return WriteBmp(bitmap, out, bitsPerPixel == 32 ? 32 : 24);
    if (extension == u"pcx") return WritePcx(bitmap, out);
    if (extension == u"gif") return WriteGif(bitmap, out);
    const TIconKind kind = extension == u"cur" ? TIconKind::ikCursor : TIconKind::ikIcon;
    if (bitsPerPixel == 8) return WriteIcon8(QuantizeWithStaticColors(bitmap), kind, out);
    return WriteIcon24(bitmap, kind, out);
}

QString WriteFailedMessage(const QString& fileName, const QString& reason)
{
    return QStringLiteral("다음 파일을 저장하지 못했습니다.\r\n%1\r\n\r\n%2")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

// Which ending was not understood and which are.
QString NoWriterMessage(const QString& fileName)
{
    QStringList extensions;
    for (const char* extension : kWriterExtensions)
        extensions << QString::fromLatin1(extension);
    return QStringLiteral("이름이 \"%1\"(으)로 끝나는 파일로는 저장할 수 없습니다. 저장할 수 있는 파일 이름의 끝: %2")
        .arg(ShownEndingOf(fileName), EndingList(extensions));
}

} // namespace

QString TrimSaveFileName(const QString& caption)
{
    QString name = caption;
    if (name.endsWith(u'*')) name.chop(1);
    if (name.isEmpty()) return name;
    const qsizetype at = std::max<qsizetype>(name.size() - 4, 0);
    if (name[at] == u'.') name.chop(std::min<qsizetype>(4, name.size()));
    return name;
}

bool IsIconSize(int width, int height)
{
    return width == height && std::find(kIconSides.begin(), kIconSides.end(), width) != kIconSides.end();
}

QString IconSizeMessage()
{
    return QStringLiteral("이미지를 아이콘으로 저장하시려면 이미지의 크기를 다음과 같이 변경해주세요.\n\n"
                          "[ 16 x 16 ] ,  [ 24 x 24 ] ,  [ 32 x 32 ] ,  [48 x 48 ] ,  [64 x 64 ] ,  "
                          "[72 x 72 ] ,  [96 x 96 ] ,  [128 x 128 ]");
}

QString SavePictureFilter()
{
    return QStringLiteral("JPEG Image Files (*.jpg;*.jpeg)|*.jpg|CompuServe GIF Image (*.gif)|*.gif|"
                          "Portable network graphic images (*.png)|*.png|"
                          "Multiple-image Network Graphics (*.mng)|*.mng|Windows bitmap 24bit (*.bmp)|*.bmp|"
                          "Windows bitmap 32bit (*.bmp)|*.bmp|Multiple-image Network Graphics (*.mng)|*.mng|"
                          "Windows Icon 8bit (*.ico)|*.ico|Windows Icon 24bit (*.ico)|*.ico|"
                          "Windows Cursor 8bit (*.cur)|*.cur|Windows Cursor 24bit (*.cur)|*.cur");
}

TDepthChoice DepthChoiceOfFilterEntry(int filterIndex)
{
    switch (filterIndex) {
    case 6:
        return {QStringLiteral("bmp"), 32};
    case 8:
        return {QStringLiteral("ico"), 8};
    case 10:
        return {QStringLiteral("cur"), 8};
    default:
        return {};
    }
}

QString WriterExtensionOf(const QString& fileName)
{
    const QString last = FormatEndingOf(fileName);
    for (const char* extension : kWriterExtensions)
        if (last == QLatin1String(extension)) return last;
    return {};
}

namespace {

// Writers of big files hand them over piece by piece as they encode.
using TStreamingWriter = TWriteResult (*)(const TBitmap32&, const TByteSink&);

TStreamingWriter StreamingWriterFor(const QString& extension)
{
    if (extension == u"jpg") return [](const TBitmap32& b, const TByteSink& sink) { return WriteJpeg(b, sink, 100); };
    if (extension == u"png") return [](const TBitmap32& b, const TByteSink& sink) { return WritePng(b, sink); };
    if (extension == u"mng") return [](const TBitmap32& b, const TByteSink& sink) { return WriteMng(b, sink); };
    return nullptr;
}

// JPEG at quality 100 and PNG are large: they go to the file as they are encoded, with no copy of the
// whole file in memory (building it in a growing buffer first cost more than the JPEG encoding).
TSaveResult SaveStreamed(const TBitmap32& bitmap, const QString& fileName, TStreamingWriter write)
{
    TFileReplacement file(fileName);
    if (!file.Ok()) return {TSaveOutcome::WriteFailed, WriteFailedMessage(fileName, file.Reason())};
    const TWriteResult encoded = write(bitmap, [&file](std::string_view piece) { return file.Write(piece); });
    if (!file.Ok()) return {TSaveOutcome::WriteFailed, WriteFailedMessage(fileName, file.Reason())};
    if (!encoded) return {TSaveOutcome::WriteFailed, WriteFailedMessage(fileName, QString::fromStdString(encoded.Error))};
    const TFileWriteResult written = file.Commit();
    if (!written.Ok) return {TSaveOutcome::WriteFailed, WriteFailedMessage(fileName, written.Reason)};
    return {TSaveOutcome::Saved, {}};
}

} // namespace

TSaveResult SaveBitmapByExtension(const TBitmap32& bitmap, const QString& fileName, IMessageSeam& messages,
                                  const TDepthChoice& depth)
{
    const QString extension = WriterExtensionOf(fileName);
    if (extension.isEmpty()) return {TSaveOutcome::NoWriter, NoWriterMessage(fileName)};
    const int bitsPerPixel = !depth.Extension.isEmpty() && depth.Extension == extension ? depth.BitsPerPixel : 0;
    if ((extension == u"ico" || extension == u"cur") && !IsIconSize(bitmap.Width(), bitmap.Height())) {
        messages.Show(TMessage(QString(), IconSizeMessage(), TMsgIcon::None, TMsgButton::Ok));
        return {TSaveOutcome::IconSizeRefused, {}};
    }
    if (const TStreamingWriter write = StreamingWriterFor(extension)) return SaveStreamed(bitmap, fileName, write);
    TWriteResult encoded;
    std::string bytes;
    try {
        encoded = Encode(bitmap, extension, bitsPerPixel, bytes);
    } catch (const std::bad_alloc&) {
        encoded = TWriteResult::Failure(NotEnoughMemoryToWriteError());
    }
    if (!encoded) return {TSaveOutcome::WriteFailed, WriteFailedMessage(fileName, QString::fromStdString(encoded.Error))};
    const TFileWriteResult written = WriteFileReplacing(fileName, bytes);
    if (!written.Ok) return {TSaveOutcome::WriteFailed, WriteFailedMessage(fileName, written.Reason)};
    return {TSaveOutcome::Saved, {}};
}

} // namespace tavrin
