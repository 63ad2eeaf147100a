#include "dialogs/FmImgMapAll.h"

#include "core/MapMarkup.h"
#include "dialogs/Memo.h"
#include "services/Clipboard.h"

#include <QPushButton>

namespace tavrin {

namespace {

// The design client size; the memo keeps its margins and the buttons their distance to the bottom
// (the copy button to the left edge, the close button to the right edge) as the window is resized.
constexpr int kDesignWidth = 472;
constexpr int kDesignHeight = 446;
constexpr QRect kMemo{8, 8, 450, 379};
constexpr QRect kCopy{44, 398, 119, 33};
constexpr QRect kClose{289, 398, 119, 33};

} // namespace

TFmImgMapAll::TFmImgMapAll(QWidget* owner) : QDialog(owner)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setWindowTitle(QStringLiteral("전체 이미지 태그 보기"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11); // 8 points at 96 dpi; the layout below is in pixels
    setFont(font);
    // Small enough to be useful, large enough that the two buttons never overlap.
    setMinimumSize(kClose.width() + kCopy.right() + 2 * 8 + (kDesignWidth - kClose.right() - 1), 160);
    BuildControls();
    resize(kDesignWidth, kDesignHeight);
}

void TFmImgMapAll::BuildControls()
{
    FMemoTag = new TMemo(this);
    FMemoTag->setObjectName("MemoTag");
    FMemoTag->setGeometry(kMemo);
    FBuCopy = new QPushButton(QStringLiteral("태그 클립보드 복사"), this);
    FBuCopy->setObjectName("BuCopy");
    FBuCopy->setGeometry(kCopy);
    FBuClose = new QPushButton(QStringLiteral("창닫기"), this);
    FBuClose->setObjectName("BuClose");
    FBuClose->setGeometry(kClose);
    setTabOrder(FMemoTag, FBuCopy);
    setTabOrder(FBuCopy, FBuClose);
    connect(FBuCopy, &QPushButton::clicked, this, &TFmImgMapAll::BuCopyClick);
    connect(FBuClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TFmImgMapAll::SetImageSize(std::int32_t width, std::int32_t height)
{
    FImageWidth = width;
    FImageHeight = height;
}

void TFmImgMapAll::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFmImgMapAll::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int dw = width() - kDesignWidth;
    const int dh = height() - kDesignHeight;
    FMemoTag->setGeometry(kMemo.adjusted(0, 0, dw, dh));
    FBuCopy->setGeometry(kCopy.translated(0, dh));
    FBuClose->setGeometry(kClose.translated(dw, dh));
}

void TFmImgMapAll::BuildMemo()
{
    const std::string img = ImgElementText(FImageFileName.toStdString(), FImageWidth, FImageHeight);
    FMemoTag->SetText(QString::fromStdString(img) + QStringLiteral("\r\n") + FMapText);
}

// The lines as they stand now, the user's edits included, each ended by CR LF.
void TFmImgMapAll::BuCopyClick() { CopyTextToClipboard(JoinWithLineBreaks(FMemoTag->Lines())); }

} // namespace tavrin
