#include "services/FileDialogSeam.h"

#include "services/PicturePreview.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScreen>
#include <QTreeView>

namespace tavrin {

void DecorateOpenDialog(QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true); // the preview lives in the toolkit's dialog
    dialog.setViewMode(QFileDialog::Detail);
    auto* preview = new TPicturePreview(&dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, &TPicturePreview::ShowFile);

    // Name, size, type and date each read whole; the name takes what is left.
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        // A name typed into the name field selects its file without making it current: follow the
        // selection too.
        if (QItemSelectionModel* selection = list->selectionModel())
            QObject::connect(selection, &QItemSelectionModel::selectionChanged, preview, [&dialog, preview] {
                const QStringList files = dialog.selectedFiles();
                preview->ShowFile(files.size() == 1 ? files.front() : QString());
            });
    }
    QSize size(1000, 560);
    if (const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    dialog.resize(size);
}

QStringList TQtFileDialogSeam::GetOpenFileNames(QWidget* owner, const QString& title, const QString& filter)
{
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    DecorateOpenDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QStringList QtNameFilters(const QString& platformFilter)
{
    // Qt takes a filter's patterns from its last parenthesised group and, with HideNameFilterDetails,
    // shows the text before it: "JPEG (*.jpg;*.jpeg) (*.jpg)" shows "JPEG (*.jpg;*.jpeg)" and matches *.jpg.
    const QStringList parts = platformFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters << parts[i] + QStringLiteral(" (") + patterns + u')';
    }
    return filters;
}

int FilterEntryOf(const QString& platformFilter, const QString& selectedNameFilter)
{
    const QStringList filters = QtNameFilters(platformFilter);
    const QStringList parts = platformFilter.split(u'|');
    for (qsizetype i = 0; i < filters.size(); ++i)
        if (filters[i] == selectedNameFilter || parts[i * 2] == selectedNameFilter) return static_cast<int>(i) + 1;
    return 1;
}

QString NameWithEntryEnding(const QString& fileName, const QString& platformFilter, int entry,
                            const QString& defaultExt)
{
    if (fileName.isEmpty() || QFileInfo(fileName).fileName().contains(u'.')) return fileName;
    const QStringList parts = platformFilter.split(u'|');
    const qsizetype at = (qsizetype(entry) - 1) * 2 + 1;
    QString ending = defaultExt;
    if (entry >= 1 && at < parts.size()) {
        const QString pattern = parts[at].section(u';', 0, 0).trimmed();
        const QString suffix = pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2) : QString();
        if (!suffix.isEmpty() && !suffix.contains(u'*') && !suffix.contains(u'?')) ending = suffix;
    }
    return ending.isEmpty() ? fileName : fileName + u'.' + ending;
}

TSaveDialogAnswer TQtFileDialogSeam::GetSaveFileName(QWidget* owner, const TSaveDialogRequest& request)
{
    QFileDialog dialog(owner, request.Title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setSizeGripEnabled(true);
    const QStringList filters = QtNameFilters(request.Filter);
    dialog.setNameFilters(filters);
    if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.FilterIndex - 1]);
    // No default suffix of Qt's: it would add the same ending whichever entry is chosen.
    dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const int entry = FilterEntryOf(request.Filter, dialog.selectedNameFilter());
    return {NameWithEntryEnding(dialog.selectedFiles().constFirst(), request.Filter, entry, request.DefaultExt), entry};
}

} // namespace tavrin
