// TAVRIN: the program takes no arguments; it shows the main window until it is closed.
#include "services/FileDialogSeam.h"
#include "services/IniFileStorage.h"
#include "ImgLib/LargePages.h"
#include "services/MessageSeamQt.h"
#include "shell/MainForm.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv)
{
    tavrin::RestartWithLargePages(argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(tavrin::kApplicationTitle));
    // Qt's own dialogs and buttons (the colour dialog, message-box buttons) in Korean too.
    QTranslator qtKorean;
    if (qtKorean.load(QLocale(QLocale::Korean), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtKorean);
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
