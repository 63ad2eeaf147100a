#include "dialogs/FmImgSize.h"

#include "dialogs/SpinEdit.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace tavrin {

namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 240;

bool IsEnter(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

QPushButton* MakeButton(const QString& caption, const char* name, QRect geometry, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    // Neither button is a default: Qt would otherwise make the first one default when the dialog
    // shows, and Enter in a field would click it.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

TSpinEdit* MakeSpinEdit(const char* name, QRect geometry, int value, QWidget* parent)
{
    auto* edit = new TSpinEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->SetValue(value);
    return edit;
}

QLabel* MakeLabel(const QString& caption, const char* name, QPoint pos, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->move(pos);
    label->adjustSize();
    return label;
}

} // namespace

TFmImgSize::TFmImgSize(QWidget* owner) : QDialog(owner)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("이미지 사이즈 설정"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11); // 8 points at 96 dpi; the layout below is in pixels
    setFont(font);
    setFixedSize(280, 162);
    BuildControls();
    FormCreate();
}

void TFmImgSize::BuildControls()
{
    FGBSize = new QGroupBox(QStringLiteral("이미지 크기 설정(px)"), this);
    FGBSize->setObjectName("GBSize");
    FGBSize->setGeometry(24, 16, 229, 93);
    FLabel1 = MakeLabel(QStringLiteral("가로"), "Label1", {12, 28}, FGBSize);
    FSEditWidth = MakeSpinEdit("SEditWidth", {60, 28, 121, 22}, kDefaultWidth, FGBSize);
    FLabel2 = MakeLabel(QStringLiteral("세로"), "Label2", {12, 60}, FGBSize);
    FSEditHeight = MakeSpinEdit("SEditHeight", {60, 56, 121, 22}, kDefaultHeight, FGBSize);
    FBuOk = MakeButton(QStringLiteral("확인"), "BuOk", {24, 123, 75, 25}, this);
    FBuCancel = MakeButton(QStringLiteral("취소"), "BuCancel", {178, 123, 75, 25}, this);

    setTabOrder(FSEditWidth, FSEditHeight);
    setTabOrder(FSEditHeight, FBuOk);
    setTabOrder(FBuOk, FBuCancel);
    FSEditWidth->setFocus(Qt::OtherFocusReason);

    FSEditWidth->installEventFilter(this);
    FSEditHeight->installEventFilter(this);
    connect(FBuOk, &QPushButton::clicked, this, &TFmImgSize::BuOkClick);
    connect(FBuCancel, &QPushButton::clicked, this, &TFmImgSize::BuCancelClick);
}

void TFmImgSize::FormCreate()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage image = clipboard ? clipboard->image() : QImage();
    if (image.isNull()) return; // no picture on the clipboard: keep the defaults, say nothing
    FSEditWidth->SetValue(image.width());
    FSEditHeight->SetValue(image.height());
}

TImageSize TFmImgSize::GetSize() const
{
    return {FSEditWidth->Value(), FSEditHeight->Value()};
}

bool TFmImgSize::SEditWidthKeyDown(QKeyEvent& event)
{
    if (!IsEnter(event)) return false;
    FSEditHeight->setFocus(Qt::TabFocusReason);
    return true;
}

bool TFmImgSize::SEditHeightKeyPress(QKeyEvent& event)
{
    if (!IsEnter(event)) return false;
    BuOkClick();
    return true;
}

bool TFmImgSize::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto& key = static_cast<QKeyEvent&>(*event);
        if (watched == FSEditWidth) return SEditWidthKeyDown(key);
        if (watched == FSEditHeight) return SEditHeightKeyPress(key);
    }
    return QDialog::eventFilter(watched, event);
}

void TFmImgSize::keyPressEvent(QKeyEvent* event)
{
    // Esc would reject a QDialog; here it does nothing.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    // Without default buttons Qt ignores Enter on a focused button; it should press that button.
    if (IsEnter(*event) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

} // namespace tavrin
