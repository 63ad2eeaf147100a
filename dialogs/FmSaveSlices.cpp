#include "dialogs/FmSaveSlices.h"

#include "core/SliceGrid.h"
#include "services/MessageSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tavrin {

namespace {

struct TSliceFormat
{
    const char* Caption;
    const char* Extension;
};

constexpr TSliceFormat kFormats[] = {
    {"JPEG (*.jpg)", "jpg"},
    {"GIF (*.gif)", "gif"},
    {"PNG (*.png)", "png"},
    {"BMP (*.bmp)", "bmp"},
};
constexpr int kDefaultFormat = 2; // PNG: lossless and what web pages use most

const QString kCaption = QStringLiteral("조각 모두 저장");

QLabel* MakeLabel(const QString& caption, QRect geometry, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setGeometry(geometry);
    return label;
}

QString DefaultChooseFolder(QWidget* owner, const QString& start)
{
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("저장할 폴더 선택"), start,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

} // namespace

TFmSaveSlices::TFmSaveSlices(int rows, int columns, IMessageSeam& messages, QWidget* owner)
    : QDialog(owner), ChooseFolder(DefaultChooseFolder), FRows(rows), FColumns(columns), FMessages(messages)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QStringLiteral("조각 모두 저장"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11); // the program's dialog font; the layout below is in pixels
    setFont(font);
    setFixedSize(420, 212);
    BuildControls();
    UpdateCountLine();
}

void TFmSaveSlices::BuildControls()
{
    MakeLabel(QStringLiteral("폴더"), {16, 20, 60, 22}, this);
    FEdFolder = new QLineEdit(this);
    FEdFolder->setObjectName("EdFolder");
    FEdFolder->setGeometry(80, 20, 232, 22);
    FBuBrowse = new QPushButton(QStringLiteral("찾아보기..."), this);
    FBuBrowse->setObjectName("BuBrowse");
    FBuBrowse->setGeometry(320, 19, 84, 24);
    FBuBrowse->setAutoDefault(false);

    MakeLabel(QStringLiteral("이름"), {16, 52, 60, 22}, this);
    FEdBaseName = new QLineEdit(this);
    FEdBaseName->setObjectName("EdBaseName");
    FEdBaseName->setGeometry(80, 52, 232, 22);

    MakeLabel(QStringLiteral("형식"), {16, 84, 60, 22}, this);
    FCbFormat = new QComboBox(this);
    FCbFormat->setObjectName("CbFormat");
    FCbFormat->setGeometry(80, 84, 140, 22);
    for (const TSliceFormat& format : kFormats) FCbFormat->addItem(QString::fromLatin1(format.Caption));
    FCbFormat->setCurrentIndex(kDefaultFormat);

    FCkPage = new QCheckBox(QStringLiteral("HTML 페이지 만들기"), this);
    FCkPage->setObjectName("CkPage");
    FCkPage->setGeometry(232, 84, 172, 22);
    FCkPage->setChecked(true);

    FLbCount = new QLabel(this);
    FLbCount->setObjectName("LbCount");
    FLbCount->setGeometry(16, 116, 388, 40);
    FLbCount->setWordWrap(true);

    FBuOk = new QPushButton(QStringLiteral("저장"), this);
    FBuOk->setObjectName("BuOk");
    FBuOk->setGeometry(236, 172, 80, 26);
    FBuOk->setDefault(true);
    FBuCancel = new QPushButton(QStringLiteral("취소"), this);
    FBuCancel->setObjectName("BuCancel");
    FBuCancel->setGeometry(324, 172, 80, 26);
    FBuCancel->setAutoDefault(false);

    connect(FBuBrowse, &QPushButton::clicked, this, &TFmSaveSlices::BuBrowseClick);
    connect(FBuOk, &QPushButton::clicked, this, &TFmSaveSlices::BuOkClick);
    connect(FBuCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FEdBaseName, &QLineEdit::textChanged, this, &TFmSaveSlices::UpdateCountLine);
    connect(FCbFormat, &QComboBox::currentIndexChanged, this, &TFmSaveSlices::UpdateCountLine);
    setTabOrder(FEdFolder, FBuBrowse);
    setTabOrder(FBuBrowse, FEdBaseName);
    setTabOrder(FEdBaseName, FCbFormat);
    setTabOrder(FCbFormat, FCkPage);
    setTabOrder(FCkPage, FBuOk);
    setTabOrder(FBuOk, FBuCancel);
}

void TFmSaveSlices::SetFolder(const QString& folder) { FEdFolder->setText(folder); }
void TFmSaveSlices::SetBaseName(const QString& baseName) { FEdBaseName->setText(baseName); }
QString TFmSaveSlices::Folder() const { return FEdFolder->text().trimmed(); }
QString TFmSaveSlices::BaseName() const { return FEdBaseName->text().trimmed(); }
bool TFmSaveSlices::MakePage() const { return FCkPage->isChecked(); }

QString TFmSaveSlices::Extension() const
{
    const int index = FCbFormat->currentIndex();
    return QString::fromLatin1(kFormats[index < 0 ? kDefaultFormat : index].Extension);
}

void TFmSaveSlices::UpdateCountLine()
{
    const std::string base = BaseName().toStdString();
    const std::string ext = Extension().toStdString();
    const QString first = QString::fromStdString(PieceFileName(base, 1, 1, FRows, FColumns, ext));
    const QString last = QString::fromStdString(PieceFileName(base, FRows, FColumns, FRows, FColumns, ext));
    QString text = QStringLiteral("%1 × %2 = %3 조각").arg(FRows).arg(FColumns).arg(FRows * FColumns);
    text += FRows * FColumns == 1 ? QStringLiteral(": %1").arg(first)
                                  : QStringLiteral(": %1 … %2").arg(first, last);
    FLbCount->setText(text);
}

void TFmSaveSlices::BuBrowseClick()
{
    const QString chosen = ChooseFolder(this, Folder().isEmpty() ? QDir::homePath() : Folder());
    if (!chosen.isEmpty()) SetFolder(QDir::toNativeSeparators(chosen));
}

QString TFmSaveSlices::Problem() const
{
    const QString base = BaseName();
    if (base.isEmpty()) return QStringLiteral("파일 이름을 입력하십시오.");
    if (base.contains(QLatin1Char('/')) || base.contains(QLatin1Char('\\')) || base.contains(QChar(0)))
        return QStringLiteral("파일 이름에는 / 나 \\ 를 쓸 수 없습니다: %1").arg(base);
    if (base == QLatin1String(".") || base == QLatin1String(".."))
        return QStringLiteral("파일 이름으로 쓸 수 없는 이름입니다: %1").arg(base);
    if (Folder().isEmpty() || (QFileInfo::exists(Folder()) && !QFileInfo(Folder()).isDir()))
        return QStringLiteral("폴더가 없습니다: %1").arg(Folder());
    return {};
}

bool TFmSaveSlices::OfferToCreateFolder()
{
    const QString folder = Folder();
    const QString question = QStringLiteral("폴더가 없습니다: %1\r\n새로 만드시겠습니까?").arg(QDir::toNativeSeparators(folder));
    if (FMessages.Show(TMessage(kCaption, question, TMsgIcon::Question, TMsgButton::Yes | TMsgButton::No,
                                TMsgButton::Yes, this)) != TMsgButton::Yes)
        return false;
    if (QDir().mkpath(folder) && QFileInfo(folder).isDir()) return true;
    FMessages.Show(TMessage(kCaption, QStringLiteral("폴더를 만들 수 없습니다: %1").arg(QDir::toNativeSeparators(folder)),
                            TMsgIcon::Error, TMsgButton::Ok, TMsgButton::None, this));
    return false;
}

void TFmSaveSlices::BuOkClick()
{
    const QString problem = Problem();
    if (!problem.isEmpty()) {
        FMessages.Show(TMessage(kCaption, problem, TMsgIcon::Warning, TMsgButton::Ok, TMsgButton::None, this));
        return;
    }
    if (!QFileInfo(Folder()).isDir() && !OfferToCreateFolder()) return;
    accept();
}

} // namespace tavrin
