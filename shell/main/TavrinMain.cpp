// TAVRIN: shows the main window until it is closed. Picture files named on the command line (as the
// desktop passes them when a picture is opened with TAVRIN) open in editor windows.
#include "services/FileDialogSeam.h"
#include "services/IniFileStorage.h"
#include "ImgLib/LargePages.h"
#include "services/MessageSeamQt.h"
#include "services/ToolkitTranslation.h"
#include "shell/MainForm.h"
#include "shell/TipOfDay.h"

#include <QApplication>

int main(int argc, char** argv)
{
    tavrin::RestartWithLargePages(argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tavrin::kApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("tavrin"));
    tavrin::LoadToolkitKorean(app); // without it the toolkit's own buttons and dialogs stay English
    tavrin::TQtMessageSeam messages;
    tavrin::TQtFileDialogSeam fileDialogs;
    // status.ini is read once now and written once after the main window has gone.
    tavrin::TAppIniFileStorage status;
    int result = 0;
    {
        tavrin::TMainForm form({messages, fileDialogs, status, QString()});
        form.TipOfDay().ShowAfterFirstActivation(form);
        form.show();
        for (const QString& file : QCoreApplication::arguments().mid(1))
            if (!form.OpenImageFile(file))
                break; // reported; the rest are not opened, as with the open dialog
        result = app.exec();
    }
    status.Save();
    return result;
}
