// Saving every piece of the guide grid: the dialog, the question before replacing files, the progress
// and the report of what was written.
#include "editor/FmEditor.h"

#include "core/ImgEditor.h"
#include "core/SliceGrid.h"
#include "dialogs/FmSaveSlices.h"
#include "editor/Image32.h"
#include "services/ImgFunSave.h"
#include "services/MessageSeam.h"
#include "services/SaveSlices.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace tavrin {

namespace {

const QString kSlicesCaption = QStringLiteral("조각 모두 저장");

// Many pieces take long enough that a person wants to see them go, and to be able to stop.
constexpr int kMinimumProgressMs = 400;

QString StartFolder(const std::string& fileName)
{
    const QFileInfo file(QString::fromStdString(fileName));
    if (!fileName.empty() && file.isAbsolute() && file.dir().exists()) return QDir::toNativeSeparators(file.absolutePath());
    return QDir::toNativeSeparators(QDir::homePath());
}

int ExistingCount(const QStringList& paths)
{
    int count = 0;
    for (const QString& path : paths) count += QFileInfo::exists(path) ? 1 : 0;
    return count;
}

QString OutcomeText(const TSlicesOutcome& outcome, int total)
{
    if (!outcome.Error.isEmpty())
        return QStringLiteral("%1\r\n\r\n조각 %2개 중 %3개를 저장했습니다.").arg(outcome.Error).arg(total).arg(outcome.Written);
    if (outcome.Cancelled)
        return QStringLiteral("취소했습니다. 조각 %1개 중 %2개를 저장했습니다.").arg(total).arg(outcome.Written);
    return outcome.PageWritten ? QStringLiteral("조각 %1개와 HTML 페이지를 저장했습니다.").arg(outcome.Written)
                               : QStringLiteral("조각 %1개를 저장했습니다.").arg(outcome.Written);
}

} // namespace

void TFmEditor::SaveAllPieces()
{
    const TBitmap32& picture = FImage->Bitmap();
    if (picture.Empty()) {
        FMessages.Show(TMessage(kSlicesCaption, QStringLiteral("그림이 비어 있어 저장할 조각이 없습니다."),
                                TMsgIcon::Warning, TMsgButton::Ok, TMsgButton::None, this));
        return;
    }
    std::vector<int> vertical, horizontal;
    CollectGuidePositions(FImage->Layers(), vertical, horizontal);
    const TSliceGrid grid = MakeSliceGrid(vertical, horizontal, picture.Width(), picture.Height());

    TFmSaveSlices dialog(grid.RowCount(), grid.ColumnCount(), FMessages, this);
    dialog.SetFolder(StartFolder(FImgEditor->FFileName));
    dialog.SetBaseName(TrimSaveFileName(windowTitle()));
    const bool confirmed = RunSlicesDialog ? RunSlicesDialog(dialog) : dialog.exec() == QDialog::Accepted;
    if (!confirmed) return;

    const TSlicesRequest request{dialog.Folder(), dialog.BaseName(), dialog.Extension(), dialog.MakePage(),
                                 TrimSaveFileName(windowTitle())};
    const int existing = ExistingCount(SliceFilePaths(grid, request));
    if (existing > 0) {
        const QString question =
            QStringLiteral("같은 이름의 파일이 %1개 있습니다. 바꾸시겠습니까?").arg(existing);
        if (FMessages.Show(TMessage(kSlicesCaption, question, TMsgIcon::Question, TMsgButton::Yes | TMsgButton::No,
                                    TMsgButton::No, this)) != TMsgButton::Yes)
            return;
    }

    QProgressDialog progress(QStringLiteral("조각을 저장하는 중입니다..."), QStringLiteral("취소"), 0,
                             grid.CellCount(), this);
    progress.setWindowTitle(kSlicesCaption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kMinimumProgressMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const TSlicesOutcome outcome =
        SaveSlices(picture, grid, request, FMessages, [&progress](int done, int) {
            progress.setValue(done); // lets the dialog show up, repaint and see a press of its button
            return !progress.wasCanceled();
        });
    progress.close();
    const bool failed = !outcome.Error.isEmpty();
    FMessages.Show(TMessage(kSlicesCaption, OutcomeText(outcome, grid.CellCount()),
                            failed ? TMsgIcon::Error : TMsgIcon::Information, TMsgButton::Ok, TMsgButton::None, this));
}

} // namespace tavrin
