#include "shell/TipOfDay.h"

#include "services/IniFileStorage.h"
#include "services/IniFileStore.h"
#include "shell/HeadArtwork.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>

#include <algorithm>

namespace tavrin {

const QStringList& TipTexts()
{
    static const QStringList tips{
        QStringLiteral("이미지 확대/축소를 하려면 마우스 휠을 사용하시거나 +,- 버튼을 이용하시 됩니다."),
        QStringLiteral("이미지 선택한 부분을 저장하시라면 마우스 오른쪽키를 눌러 저장 할 수 있습니다."),
        QStringLiteral("특정 부위를 클립보드로 복사하려면 복사할 곳에 마우스를 가져다 놓고 Ctrl+C를 누르시면 됩니다."),
        QStringLiteral("Ctrl+C, Ctrl+V를 이용하여 다른 프로그램의 이미지를 복사해 오거나 붙여넣을 수 있습니다."),
        QStringLiteral("가이드선이나 영역선택툴을 더블클릭하면 삭제할 수 있습니다."),
        QStringLiteral("이미지의 특정색상을 복사하려면 마우스를 가져다 놓고 오른쪽키를 클릭후 색상복사를 하면 다양한 "
                       "형식으로 복사할 수 있습니다."),
        QStringLiteral("가이드선이나 영역선택툴이 없는곳을 드래그하면 쉽게 원하는 위치로 이동할 수 있습니다."),
        QStringLiteral("가이드선 색상을 변경하려면 도구에서 가이드선 색상 변경을 하시면 됩니다."),
        QStringLiteral("클립보드로 복사한 후 새이미지 만들기를 하면 클립보드의 크기로 이미지크기가 자동 지정됩니다."),
        QStringLiteral("Ctrl+D키를 이용하여 마지막으로 생성하거나 클릭한 가이드라인을 삭제할 수 있습니다."),
        QStringLiteral("단축키 / 를 누르시면 100% 원본 크기로 보실 수 있습니다."),
        QStringLiteral("가이드선 및 영역선택툴을 그린 뒤 방향키로 위치를 변경할 수 있습니다."),
        QStringLiteral("영역선택툴을 그릴 때 Ctrl키를 누르면 가이드선에 자석효과가 작동합니다."),
        QStringLiteral("Delete키나 Ctrl+Z키로 마지막 가이드선 또는 이미지맵을 삭제할 수 있습니다."),
        QStringLiteral("Z 키를 누르면 이미지 확대모드로 변경됩니다. 이때 Alt 를 누른상태에서 클릭하면 축소가 됩니다."),
    };
    return tips;
}

// --- the dialog ---

namespace {

const QColor kBandGrey(0x80, 0x80, 0x80);

QLabel* WhiteLabel(QWidget* parent, QRect geometry)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
    label->setPalette(palette);
    return label;
}

} // namespace

TFmTipOfDay::TFmTipOfDay(const QStringList& tips, int first, bool showOnStartup, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FTips(tips), FIndex(tips.isEmpty() ? 0 : std::clamp(first, 0, static_cast<int>(tips.size()) - 1))
{
    setObjectName(QStringLiteral("JvTipOfDay"));
    setWindowTitle(QStringLiteral("오늘의 팁"));
    setFixedSize(400, 258);

    auto* picture = new QLabel(this);
    picture->setGeometry(21, 22, 41, 43);
    picture->setPixmap(TipBulbPicture());

    QLabel* header = WhiteLabel(this, QRect(71, 24, 300, 27));
    header->setText(QStringLiteral("알고 계십니까?"));
    QFont headerFont(QStringLiteral("NanumMyeongjo"));
    headerFont.setPointSize(15);
    headerFont.setBold(true);
    header->setFont(headerFont);

    FTipText = WhiteLabel(this, QRect(71, 75, 306, 134));
    FTipText->setObjectName(QStringLiteral("TipText"));
    FTipText->setWordWrap(true);
    FTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    FCheckBox = new QCheckBox(QStringLiteral("시작시 오늘의 팁 보여주기(&S)"), this);
    FCheckBox->setGeometry(8, 225, 215, 17);
    FCheckBox->setChecked(showOnStartup);

    FButtonNext = new QPushButton(QStringLiteral("다음팁(&N)"), this);
    FButtonNext->setGeometry(227, 225, 77, 25);
    FButtonNext->setAutoDefault(false);
    FButtonNext->setEnabled(FTips.size() > 1);
    connect(FButtonNext, &QPushButton::clicked, this, &TFmTipOfDay::NextTip);

    FButtonClose = new QPushButton(QStringLiteral("닫기(&C)"), this);
    FButtonClose->setGeometry(317, 225, 75, 25);
    FButtonClose->setDefault(true); // Enter closes; Esc closes as the dialog's cancel
    connect(FButtonClose, &QPushButton::clicked, this, &QDialog::accept);

    ShowTip();
}

QString TFmTipOfDay::TipText() const { return FTipText->text(); }

bool TFmTipOfDay::ShowOnStartup() const { return FCheckBox->isChecked(); }

void TFmTipOfDay::NextTip()
{
    if (FTips.isEmpty())
        return;
    FIndex = (FIndex + 1) % static_cast<int>(FTips.size());
    ShowTip();
}

void TFmTipOfDay::ShowTip() { FTipText->setText(FTips.value(FIndex)); }

void TFmTipOfDay::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect panel(8, 8, 384, 206);
    p.fillRect(panel, Qt::white);
    p.setPen(kBandGrey);
    p.drawRect(panel.adjusted(0, 0, -1, -1));
    p.fillRect(QRect(8, 8, 53, 205), kBandGrey);
    p.fillRect(QRect(61, 63, 330, 1), kBandGrey);
}

// --- the component ---

TTipOfDay::TTipOfDay(TIniStore& store, QWidget* owner) : QObject(owner), FStore(store), FOwner(owner) {}

void TTipOfDay::Execute(bool startUp)
{
    if (FDialog)
        return;
    FShowOnStartup = FStore.ReadBool(StatusIni::TodayTipSection, StatusIni::ShowOnStartupKey, FShowOnStartup);
    if (startUp && !FShowOnStartup)
        return;
    const QStringList& tips = TipTexts();
    const int count = static_cast<int>(tips.size());
    const int first = count == 0 ? 0 : PickFirst ? PickFirst(count) : QRandomGenerator::global()->bounded(count);
    auto* dialog = new TFmTipOfDay(tips, first, FShowOnStartup, FOwner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        FShowOnStartup = dialog->ShowOnStartup();
        FStore.WriteBool(StatusIni::TodayTipSection, StatusIni::ShowOnStartupKey, FShowOnStartup);
    });
    FDialog = dialog;
    if (const QScreen* screen = FOwner ? FOwner->screen() : nullptr)
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
    dialog->show();
}

void TTipOfDay::ShowAfterFirstActivation(QWidget& window) { window.installEventFilter(this); }

bool TTipOfDay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        watched->removeEventFilter(this);
        // Posted: the window finishes its own activation first.
        QMetaObject::invokeMethod(this, [this] { Execute(true); }, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tavrin
