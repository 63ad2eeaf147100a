#include "services/PicturePreview.h"

#include "ImgLib/PictureFile.h"
#include "ImgLib/PictureFormats.h"
#include "core/Bitmap32.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QThreadPool>
#include <QVBoxLayout>

#include <atomic>

namespace tavrin {

namespace {

constexpr QSize PreviewBox(200, 200);

} // namespace

TPreviewResult MakePreview(const QString& path, QSize box, std::int64_t maxFileBytes)
{
    const QFileInfo info(path);
    if (!info.isFile()) return {};
    const TPictureFormat* format = PictureFormats().FindByExtension(path.right(3).toStdString());
    if (!format) return {QImage(), QStringLiteral("미리 볼 수 없는 형식입니다.")};
    const QLocale locale;
    if (info.size() > maxFileBytes)
        return {QImage(), QStringLiteral("파일이 커서(%1) 미리 보지 않습니다.").arg(locale.formattedDataSize(info.size()))};

    TBitmap32 bitmap;
    const TReadResult read = ReadPictureFile(QFile::encodeName(path).toStdString(), *format, bitmap);
    if (!read) return {QImage(), QStringLiteral("그림을 읽을 수 없습니다.")};
    const QImage whole(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                       static_cast<qsizetype>(bitmap.Width()) * 4, QImage::Format_RGB32);
    QImage fitted = whole.width() <= box.width() && whole.height() <= box.height()
                        ? whole.copy()
                        : whole.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return {std::move(fitted),
            QStringLiteral("%1 × %2 화소").arg(locale.toString(bitmap.Width()), locale.toString(bitmap.Height()))};
}

// What a reading on the worker thread hands back. Owner is touched on the user-interface thread only.
struct TPicturePreview::TMailbox
{
    TPicturePreview* Owner = nullptr;
    std::atomic<int> Latest{0}; // the number of the newest request; older readings are dropped
};

TPicturePreview::TPicturePreview(QWidget* parent, std::int64_t maxFileBytes)
    : QWidget(parent), FPicture(new QLabel(this)), FText(new QLabel(this)), FMaxFileBytes(maxFileBytes),
      FMailbox(std::make_shared<TMailbox>())
{
    setObjectName(QStringLiteral("PicturePreview"));
    FMailbox->Owner = this;
    FPicture->setFixedSize(PreviewBox);
    FPicture->setAlignment(Qt::AlignCenter);
    FPicture->setFrameShape(QFrame::StyledPanel);
    FText->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    FText->setWordWrap(true);
    FText->setFixedWidth(PreviewBox.width());
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 0, 0, 0);
    column->addWidget(new QLabel(QStringLiteral("미리 보기"), this));
    column->addWidget(FPicture);
    column->addWidget(FText);
    column->addStretch(1);
}

TPicturePreview::~TPicturePreview()
{
    FMailbox->Owner = nullptr;
    ++FMailbox->Latest;
}

void TPicturePreview::ShowFile(const QString& path)
{
    if (path == FPath) return; // the same file reported again (current and selected): already shown
    FPath = path;
    const int request = ++FMailbox->Latest;
    FPicture->clear();
    FText->clear();
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    FText->setText(QStringLiteral("읽는 중…"));
    QThreadPool::globalInstance()->start(
        [mailbox = FMailbox, request, path, limit = FMaxFileBytes] {
            if (mailbox->Latest != request) return; // the selection moved on before this started
            TPreviewResult result = MakePreview(path, PreviewBox, limit);
            // Delivered on the user-interface thread, through the application object, which outlives
            // every dialog; the preview may have gone by then.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [mailbox, request, result = std::move(result)] {
                    if (mailbox->Owner && mailbox->Latest == request) mailbox->Owner->Present(result);
                },
                Qt::QueuedConnection);
        });
}

void TPicturePreview::Present(const TPreviewResult& result)
{
    FPicture->setPixmap(QPixmap::fromImage(result.Picture));
    FText->setText(result.Text);
    emit PreviewShown();
}

QString TPicturePreview::Text() const
{
    return FText->text();
}

QPixmap TPicturePreview::Picture() const
{
    return FPicture->pixmap();
}

} // namespace tavrin
