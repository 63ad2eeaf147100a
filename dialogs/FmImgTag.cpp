#include "dialogs/FmImgTag.h"

#include "core/ImgMap.h"
#include "core/MapMarkup.h"
#include "dialogs/Memo.h"
#include "services/Clipboard.h"
#include "dialogs/SingleLineField.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace tavrin {

namespace {

constexpr int kLabelX = 20;
constexpr int kFieldX = 145;

QLabel* MakeCaption(const QString& caption, const char* name, int fieldY, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->move(kLabelX, fieldY + 4); // centred on a 21-pixel field
    label->adjustSize();
    return label;
}

QLineEdit* MakeEdit(const char* name, int y, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(kFieldX, y, 304, 21);
    MakeSingleLineField(*edit);
    return edit;
}

QPushButton* MakeButton(const QString& caption, const char* name, QRect geometry, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

} // namespace

TFmImgTag::TFmImgTag(QWidget* owner) : QDialog(owner)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("이미지맵 태그 입력"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11); // 8 points at 96 dpi; the layout below is in pixels
    setFont(font);
    setFixedSize(478, 338);
    BuildControls();
    ConnectHandlers();
}

void TFmImgTag::BuildControls()
{
    MakeCaption(QStringLiteral("이미지맵 모양"), "Label1", 12, this);
    FLabelShape = new QLabel(this);
    FLabelShape->setObjectName("LabelShape");
    // 13 pixels high by design; Korean fallback fonts may need a little more.
    FLabelShape->setGeometry(kFieldX, 16, 152, std::max(13, FLabelShape->fontMetrics().height()));

    MakeCaption(QStringLiteral("이미지맵(usemap)"), "Label2", 48, this);
    FEdUseMap = MakeEdit("EdUseMap", 48, this);
    MakeCaption(QStringLiteral("링크 주소(href)"), "Label3", 84, this);
    FEdHref = MakeEdit("EdHref", 84, this);

    MakeCaption(QStringLiteral("타겟(target)"), "Label4", 120, this);
    FCbTarget = new QComboBox(this);
    FCbTarget->setObjectName("CbTarget");
    FCbTarget->setEditable(true);
    FCbTarget->setInsertPolicy(QComboBox::NoInsert); // a typed target is not added to the list
    FCbTarget->addItems({QStringLiteral("_blank"), QStringLiteral("_self"), QStringLiteral("_parent"),
                         QStringLiteral("_top")});
    FCbTarget->setGeometry(kFieldX, 120, 145, 21);
    FCbTarget->setEditText(QString());
    MakeSingleLineField(*FCbTarget);

    MakeCaption(QStringLiteral("설명(alt)"), "Label5", 156, this);
    FEdAlt = MakeEdit("EdAlt", 156, this);

    FMemoTag = new TMemo(this);
    FMemoTag->setObjectName("MemoTag");
    FMemoTag->setGeometry(20, 195, 369, 82);
    FMemoTag->setReadOnly(true);
    FMemoTag->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    FBuClose = MakeButton(QStringLiteral("취소"), "BuClose", {258, 291, 75, 25}, this);
    FBuCopy = MakeButton(QStringLiteral("태그\n복사"), "BuCopy", {400, 195, 53, 82}, this);
    FBuOK = MakeButton(QStringLiteral("확인"), "BuOK", {160, 291, 75, 25}, this);
    FBuOK->setDefault(true);

    setTabOrder(FEdUseMap, FEdHref);
    setTabOrder(FEdHref, FCbTarget);
    setTabOrder(FCbTarget, FEdAlt);
    setTabOrder(FEdAlt, FMemoTag);
    setTabOrder(FMemoTag, FBuClose);
    setTabOrder(FBuClose, FBuCopy);
    setTabOrder(FBuCopy, FBuOK);
    FEdUseMap->setFocus(Qt::OtherFocusReason);
}

void TFmImgTag::ConnectHandlers()
{
    for (QLineEdit* edit : {FEdUseMap, FEdHref, FEdAlt})
        connect(edit, &QLineEdit::textChanged, this, &TFmImgTag::DataOnChange);
    connect(FCbTarget, &QComboBox::editTextChanged, this, &TFmImgTag::DataOnChange);
    connect(FBuCopy, &QPushButton::clicked, this, &TFmImgTag::BuCopyClick);
    connect(FBuOK, &QPushButton::clicked, this, &TFmImgTag::BuOkClick);
    connect(FBuClose, &QPushButton::clicked, this, &TFmImgTag::BuCloseClick);
}

void TFmImgTag::SetArea(TImageMapLyer& area)
{
    FArea = &area;
    // The memo is built once at the end rather than on every field filled: with a long link each
    // rebuild costs a noticeable moment.
    const QSignalBlocker blockUseMap(FEdUseMap), blockHref(FEdHref), blockTarget(FCbTarget), blockAlt(FEdAlt);
    // The label shows the name as stored, before a default is proposed.
    FLabelShape->setText(QString::fromStdString(area.FMapName));
    FEdHref->setText(QString::fromStdString(area.FHref));
    FEdAlt->setText(QString::fromStdString(area.FAlt));
    FCbTarget->setEditText(QString::fromStdString(area.FTarget));
    // Stored in the area at once, so it stays even when the dialog is then cancelled.
    if (area.FMapName.empty())
        area.FMapName = "ImgMap" + std::to_string(area.FId);
    FEdUseMap->setText(QString::fromStdString(area.FMapName));
    FMemoTag->SetText(BuildAreaMarkup());
}

QString TFmImgTag::BuildAreaMarkup() const
{
    TAreaText text;
    if (FArea) {
        text.ShapeName = FArea->FShapeName;
        text.Coords = FArea->CoordsText();
    }
    text.Href = FEdHref->text().toStdString();
    text.Target = FCbTarget->currentText().toStdString();
    text.Alt = FEdAlt->text().toStdString();
    return QString::fromStdString(SingleAreaMarkup(FEdUseMap->text().toStdString(), text));
}

void TFmImgTag::DataOnChange() { FMemoTag->SetText(BuildAreaMarkup()); }

void TFmImgTag::BuCopyClick() { CopyTextToClipboard(FMemoTag->Text()); }

void TFmImgTag::BuOkClick()
{
    if (FArea) {
        FArea->FMapName = FEdUseMap->text().toStdString();
        FArea->FTarget = FCbTarget->currentText().toStdString();
        FArea->FAlt = FEdAlt->text().toStdString();
        FArea->FHref = FEdHref->text().toStdString();
    }
    accept();
}

void TFmImgTag::keyPressEvent(QKeyEvent* event)
{
    // Esc would reject a QDialog; this dialog has no cancel binding.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tavrin
