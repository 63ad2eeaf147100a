#include "dialogs/FmGIF.h"

#include "ImgLib/GifColorTable.h"
#include "ImgLib/HalftoneMapping.h"
#include "dialogs/ColorShape.h"
#include "dialogs/GifPreview.h"
#include "services/FileReplace.h"
#include "services/MessageSeam.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

namespace tavrin {
namespace {

const QString kCaption = QStringLiteral("투명 GIF 저장");
constexpr QSize kClientSize{542, 401};
// The picture keeps these distances to the right and bottom edges as the window grows.
constexpr int kImageRightMargin = 542 - 400;
constexpr int kImageBottomMargin = 401 - 400;
constexpr int kPanelRightMargin = 542 - 406;

TRgb RgbOf(TColor color)
{
    const std::uint32_t v = ColorValue(color);
    return {std::uint8_t(v & 0xFF), std::uint8_t((v >> 8) & 0xFF), std::uint8_t((v >> 16) & 0xFF)};
}

} // namespace

QString AskGifFileName(QWidget* owner)
{
    QFileDialog dialog(owner, kCaption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("GIF Image (*.gif)"));
    dialog.setDefaultSuffix(QStringLiteral("gif"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite); // asked afterwards, through the message seam
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

TFmGIF::TFmGIF(IMessageSeam& messages, QWidget* owner)
    : QDialog(owner), FMessages(messages), FAskFileName(AskGifFileName)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(kCaption);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11); // 8 points at 96 dpi; the layout below is in pixels
    setFont(font);
    BuildControls();
    resize(kClientSize);
    move(0, 0);
}

TFmGIF::~TFmGIF() = default;

void TFmGIF::BuildControls()
{
    FImage = new TGifPreview(this);
    FImage->setObjectName("Image");
    FImage->setCursor(Qt::CrossCursor);
    FImage->OnMouseDown = [this](Qt::MouseButton button, int x, int y) { ImageMouseDown(button, x, y); };

    FPanel1 = new QWidget(this);
    FPanel1->setObjectName("Panel1");
    FLabel1 = new QLabel(QStringLiteral("투명하게 만들 색상을 이미지에서 클릭하세요"), FPanel1);
    FLabel1->setObjectName("Label1");
    FLabel1->setWordWrap(true);
    FLabel1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FLabel1->setGeometry(0, 12, 125, 33);
    FShapeColor = new TColorShape(FPanel1);
    FShapeColor->setObjectName("ShapeColor");
    FShapeColor->setGeometry(0, 48, 33, 29);
    FLabel2 = new QLabel(QStringLiteral("현재 지정된 색상"), FPanel1);
    FLabel2->setObjectName("Label2");
    FLabel2->move(39, 48);
    FLabel2->adjustSize();
    FBuSave = new QPushButton(QStringLiteral("저장하기"), FPanel1);
    FBuSave->setObjectName("BuSave");
    FBuSave->setGeometry(12, 155, 75, 25);
    connect(FBuSave, &QPushButton::clicked, this, [this] { BuSaveClick(); });
    PlaceControls();
}

void TFmGIF::PlaceControls()
{
    FImage->setGeometry(0, 0, std::max(0, width() - kImageRightMargin),
                        std::max(0, height() - kImageBottomMargin));
    FPanel1->setGeometry(width() - kPanelRightMargin, 0, 135, 301);
}

void TFmGIF::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceControls();
}

void TFmGIF::SetImage(const TBitmap32& bitmap)
{
    FGif.Image = ToHalftoneImage(bitmap);
    FGif.TransparentIndex.reset();
    FImage->SetPicture(&FGif.Image);
    if (!FGif.Image.Empty()) {
        const TRgb corner = FGif.Image.Palette[FGif.Image.Indices[0]];
        FShapeColor->SetColor(MakeColor(corner.R, corner.G, corner.B));
    } else {
        FShapeColor->SetColor(FImage->BackgroundColor());
    }
}

TColor TFmGIF::ChosenColor() const
{
    return FShapeColor->Color();
}

void TFmGIF::ImageMouseDown(Qt::MouseButton, int x, int y)
{
    FShapeColor->SetColor(FImage->ColorAt(x, y));
}

bool TFmGIF::ConfirmReplace(const QString& fileName)
{
    // A file that may not be replaced is refused before the question, not after a Yes.
    if (const QString refusal = ReplacementRefusal(fileName); !refusal.isEmpty()) {
        ShowWriteError(fileName, refusal);
        return false;
    }
    if (!QFileInfo::exists(fileName)) return true;
    const QString text =
        QStringLiteral("%1 파일이 이미 있습니다.\n바꾸시겠습니까?").arg(QFileInfo(fileName).fileName());
    return FMessages.Show(TMessage(kCaption, text, TMsgIcon::Warning, TMsgButton::Yes | TMsgButton::No,
                                   TMsgButton::No, this)) == TMsgButton::Yes;
}

void TFmGIF::ShowWriteError(const QString& fileName, const QString& reason)
{
    const QString text =
        QStringLiteral("파일을 저장할 수 없습니다: %1\n%2").arg(QDir::toNativeSeparators(fileName), reason);
    FMessages.Show(TMessage(QStringLiteral("이미지 저장 오류"), text, TMsgIcon::Error, TMsgButton::Ok,
                            TMsgButton::None, this));
}

void TFmGIF::BuSaveClick()
{
    if (FGif.Image.Empty()) {
        // The save command's own words for the same situation.
        FMessages.Show(TMessage(QStringLiteral("이미지 저장 오류"), QStringLiteral("저장할 이미지를 선택해주세요."),
                                TMsgIcon::Error, TMsgButton::Ok, TMsgButton::None, this));
        return;
    }
    const QString fileName = FAskFileName ? FAskFileName(this) : QString();
    if (fileName.isEmpty() || !ConfirmReplace(fileName)) return;

    OptimizeColorTable(FGif.Image);
    FImage->SetPicture(&FGif.Image);
    FGif.TransparentIndex = FindTransparentIndex(FGif.Image, RgbOf(ChosenColor()));

    std::string bytes, reason;
    if (!WriteIndexedGif(FGif.Image, FGif.TransparentIndex, bytes, reason)) {
        ShowWriteError(fileName, QString::fromStdString(reason));
        return;
    }
    const TFileWriteResult written = WriteFileReplacing(fileName, bytes);
    if (!written.Ok) ShowWriteError(fileName, written.Reason);
}

} // namespace tavrin
