#include "dialogs/ColorDialog.h"

#include <QColorDialog>
#include <QLabel>
#include <QPushButton>

namespace tavrin {

void PrepareColorDialog(QColorDialog& dialog)
{
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setOption(QColorDialog::ShowAlphaChannel, false);
    // The custom colours are found by their (translated) captions: Qt gives them no names.
    const QString addCaption = QColorDialog::tr("&Add to Custom Colors");
    const QString customCaption = QColorDialog::tr("&Custom colors");
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == addCaption)
            button->hide();
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->text() == customCaption) {
            label->hide();
            if (QWidget* well = label->buddy())
                well->hide();
        }
}

std::optional<TColor> ExecuteColorDialog(QWidget* parent, TColor initial)
{
    QColorDialog dialog(parent);
    PrepareColorDialog(dialog);
    const std::uint32_t v = ColorValue(initial);
    dialog.setCurrentColor(QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                                  static_cast<int>((v >> 16) & 0xFF)));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QColor chosen = dialog.selectedColor();
    if (!chosen.isValid())
        return std::nullopt;
    return MakeColor(static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                     static_cast<std::uint8_t>(chosen.blue()));
}

} // namespace tavrin
