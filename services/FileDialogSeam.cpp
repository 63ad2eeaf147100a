#include "services/FileDialogSeam.h"

#include "services/PicturePreview.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
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

} // namespace tavrin
