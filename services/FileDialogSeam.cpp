#include "services/FileDialogSeam.h"

#include <QFileDialog>

namespace tavrin {

QStringList TQtFileDialogSeam::GetOpenFileNames(QWidget* owner, const QString& title, const QString& filter)
{
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
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
    dialog.setDefaultSuffix(request.DefaultExt);
    dialog.selectFile(request.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return {dialog.selectedFiles().constFirst(), FilterEntryOf(request.Filter, dialog.selectedNameFilter())};
}

} // namespace tavrin
