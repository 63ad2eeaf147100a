// Moving pictures out of and into the editor window: saving the region, the clipboard.
#include "editor/FmEditor.h"

#include "editor/Image32.h"
#include "services/Clipboard.h"
#include "services/FileDialogSeam.h"
#include "services/FileReplace.h"
#include "services/ImgFunSave.h"
#include "services/MessageSeam.h"

#include <QApplication>
#include <QFileInfo>

namespace tavrin {
namespace {

const QString kSaveErrorCaption = QStringLiteral("이미지 저장 오류");

IFileDialogSeam& PlatformFileDialogs()
{
    static TQtFileDialogSeam dialogs;
    return dialogs;
}

// The busy pointer for as long as a save runs.
struct TBusyCursor
{
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

} // namespace

void TFmEditor::SaveSelection()
{
    const TBitmap32& region = FImgEditor->FSelBitmap;
    if (region.Width() == 0) {
        FMessages.Show(TMessage(kSaveErrorCaption, QStringLiteral("저장할 이미지를 선택해주세요."), TMsgIcon::Error,
                                TMsgButton::Ok, TMsgButton::None, this));
        return;
    }
    IFileDialogSeam& dialogs = FFileDialogs ? *FFileDialogs : PlatformFileDialogs();
    TSaveDialogRequest request{QStringLiteral("저장할 파일명을 입력하세요"), SavePictureFilter(),
                               FSaveFilterIndex > 0 ? FSaveFilterIndex : kSavePictureFilterIndexPng,
                               QStringLiteral("png"), TrimSaveFileName(windowTitle())};
    TSaveDialogAnswer answer;
    for (;;) {
        answer = dialogs.GetSaveFileName(this, request);
        if (answer.FileName.isEmpty()) return;
        FSaveFilterIndex = answer.FilterIndex;
        request.FileName = answer.FileName; // a refusal or No: back to the dialog with the name typed
        request.FilterIndex = answer.FilterIndex;
        // A file that may not be replaced is refused before the user is asked whether to replace it.
        if (const QString refusal = ReplacementRefusal(answer.FileName); !refusal.isEmpty()) {
            FMessages.Show(TMessage(kSaveErrorCaption, refusal, TMsgIcon::Error, TMsgButton::Ok, TMsgButton::None, this));
            continue;
        }
        if (!QFileInfo::exists(answer.FileName)) break;
        const QString question = QStringLiteral("%1이(가) 이미 있습니다.\r\n바꾸시겠습니까?")
                                     .arg(QFileInfo(answer.FileName).fileName());
        if (FMessages.Show(TMessage(QStringLiteral("다른 이름으로 저장 확인"), question, TMsgIcon::Warning,
                                    TMsgButton::Yes | TMsgButton::No, TMsgButton::No, this)) == TMsgButton::Yes)
            break;
    }
    TSaveResult result;
    {
        TBusyCursor busy;
        result = SaveBitmapByExtension(region, answer.FileName, FMessages, DepthChoiceOfFilterEntry(answer.FilterIndex));
    }
    if (result.Outcome == TSaveOutcome::WriteFailed)
        FMessages.Show(TMessage(kSaveErrorCaption, result.Message, TMsgIcon::Error, TMsgButton::Ok, TMsgButton::None, this));
    else if (!result.Saved()) {
        QString text = QStringLiteral("이미지 저장에 실패하였습니다.");
        if (result.Outcome == TSaveOutcome::NoWriter) text += QStringLiteral("\r\n") + result.Message;
        FMessages.Show(TMessage(kSaveErrorCaption, text, TMsgIcon::Error, TMsgButton::Ok, TMsgButton::None, this));
    }
}

void TFmEditor::CopySelection()
{
    if (FImgEditor->FSelBitmap.Empty()) return;
    CopyBitmapToClipboard(FImgEditor->FSelBitmap);
}

void TFmEditor::PasteImage()
{
    const QString question = QStringLiteral("현재 클립보드에 있는 이미지를 붙여넣으시겠습니까?\r\n"
                                            "이미지를 붙여넣으면 기존의 이미지는 없어집니다.");
    if (FMessages.Show(TMessage(QStringLiteral("이미지 붙여넣기"), question, TMsgIcon::Information,
                                TMsgButton::Ok | TMsgButton::Cancel, TMsgButton::Cancel, this)) != TMsgButton::Ok)
        return;
    TBitmap32 pasted;
    const TClipboardPicture read = ReadBitmapFromClipboard(pasted);
    if (read.State != TClipboardPicture::TState::Ok) {
        const QString text = read.State == TClipboardPicture::TState::Unreadable
                                 ? read.Detail
                                 : QStringLiteral("지원되는 포멧이 아닙니다.");
        FMessages.Show(TMessage(QStringLiteral("붙여넣기 오류"), text, TMsgIcon::Warning));
        return;
    }
    FImgEditor->KeepRegionPixels(); // the region keeps the pixels it was taken from, as before a load
    TBitmap32& bitmap = FImage->Bitmap();
    bitmap = std::move(pasted);
    bitmap.DrawMode = TDrawMode::dmOpaque;
    bitmap.MasterAlpha = 255;
    FImage->BitmapChanged();
    UpdateImageSize();
}

} // namespace tavrin
