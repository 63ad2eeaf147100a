// The desktop entry installed with the program: valid, naming the installed icon and the picture types
// the program opens.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

TEST(DesktopEntry, IsValidAndOpensThePictureTypes)
{
    const QString entry = QStringLiteral(TAVRIN_SOURCE_DIR "/resources/tavrin.desktop");
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=tavrin\n")));
    EXPECT_TRUE(QFile::exists(QStringLiteral(TAVRIN_SOURCE_DIR "/resources/tavrin.svg")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=tavrin %F\n")));
    for (const char* type : {"image/bmp", "image/gif", "image/jpeg", "image/png", "image/vnd.microsoft.icon",
                             "image/wmf", "image/emf"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(type) + u';')) << type;

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    QProcess check;
    check.start(validator, {entry});
    ASSERT_TRUE(check.waitForFinished(10000));
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
}
