// TAVRIN: the program takes no arguments; it shows the main window until it is closed.
#include "services/FileDialogSeam.h"
#include "services/IniFileStorage.h"
#include "ImgLib/LargePages.h"
#include "services/MessageSeamQt.h"
#include "services/ToolkitTranslation.h"
#include "shell/MainForm.h"

#include <QApplication>

int main(int argc, char** argv)
{
    tavrin::RestartWithLargePages(argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tavrin::kApplicationTitle));
    tavrin::LoadToolkitKorean(app); // without it the toolkit's own buttons and dialogs stay English
    tavrin::TQtMessageSeam messages;
    tavrin::TQtFileDialogSeam fileDialogs;
    // status.ini is read once now and written once after the main window has gone.
    tavrin::TAppIniFileStorage status;
    int result = 0;
    {
        tavrin::TMainForm form({messages, fileDialogs, status, QString()});
        form.show();
        result = app.exec();
    }
    status.Save();
    return result;
}
