#include "services/SaveSlices.h"

#include "core/Bitmap32.h"
#include "services/FileReplace.h"
#include "services/ImgFunSave.h"

#include <QDir>

namespace tavrin {

namespace {

QString PiecePath(const TSliceGrid& grid, const TSlicesRequest& request, int row, int column)
{
    const std::string name = PieceFileName(request.BaseName.toStdString(), row + 1, column + 1, grid.RowCount(),
                                           grid.ColumnCount(), request.Extension.toStdString());
    return QDir(request.Folder).filePath(QString::fromStdString(name));
}

QString PagePath(const TSlicesRequest& request)
{
    return QDir(request.Folder).filePath(request.BaseName + QStringLiteral(".html"));
}

} // namespace

TBitmap32 CopyCell(const TBitmap32& picture, const TRect& cell)
{
    TBitmap32 piece(cell.Width(), cell.Height());
    for (int y = cell.Top; y < cell.Bottom; ++y) {
        const TColor32* src = picture.ScanLine(y) + cell.Left;
        TColor32* dst = piece.ScanLine(y - cell.Top);
        for (int x = 0; x < cell.Width(); ++x) dst[x] = src[x] | 0xFF000000u;
    }
    return piece;
}

QStringList SliceFilePaths(const TSliceGrid& grid, const TSlicesRequest& request)
{
    QStringList paths;
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int column = 0; column < grid.ColumnCount(); ++column)
            paths << PiecePath(grid, request, row, column);
    if (request.MakePage) paths << PagePath(request);
    return paths;
}

TSlicesOutcome SaveSlices(const TBitmap32& picture, const TSliceGrid& grid, const TSlicesRequest& request,
                          IMessageSeam& messages, const TSlicesProgress& progress)
{
    TSlicesOutcome outcome;
    const int total = grid.CellCount();
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int column = 0; column < grid.ColumnCount(); ++column) {
            if (progress && !progress(outcome.Written, total)) {
                outcome.Cancelled = true;
                return outcome;
            }
            const QString path = PiecePath(grid, request, row, column);
            const TSaveResult saved = SaveBitmapByExtension(CopyCell(picture, grid.Cell(row, column)), path, messages);
            if (!saved.Saved()) {
                outcome.Error = saved.Message.isEmpty()
                                    ? QStringLiteral("%1 파일을 저장하지 못했습니다.").arg(QDir::toNativeSeparators(path))
                                    : saved.Message;
                return outcome;
            }
            ++outcome.Written;
        }
    }
    if (progress) progress(outcome.Written, total);
    if (!request.MakePage) return outcome;
    const std::string page = SlicePageHtml(grid, request.BaseName.toStdString(), request.Extension.toStdString(),
                                           request.PageTitle.toStdString());
    const TFileWriteResult written = WriteFileReplacing(PagePath(request), page);
    if (!written.Ok) {
        outcome.Error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(PagePath(request)), written.Reason);
        return outcome;
    }
    outcome.PageWritten = true;
    return outcome;
}

} // namespace tavrin
