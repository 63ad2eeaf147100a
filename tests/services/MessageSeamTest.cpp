#include "services/MessageSeamQt.h"
#include "services/MessageSeamScripted.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tavrin;

namespace {

// Shows message with the Qt seam; when the box is up, inspects it and presses Enter or clicks a button.
struct TSeen
{
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    QMessageBox::StandardButton Default = QMessageBox::NoButton;
};

TMsgButton ShowAndAnswer(const TMessage& message, TSeen& seen, QMessageBox::StandardButton click)
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton};
        QAbstractButton* target = click == QMessageBox::NoButton ? box->defaultButton() : box->button(click);
        if (target != nullptr)
            target->click();
        else
            box->done(-1);
    });
    TQtMessageSeam seam;
    return seam.Show(message);
}

} // namespace

TEST(MessageSeam, QtBoxShowsWhatWasAskedAndReturnsTheChoice)
{
    QApplication::setApplicationDisplayName("TAVRIN 이미지편집");
    TSeen seen;
    const TMessage question(u"종료 확인"_qs, u"현재 이미지 편집창을 닫겠습니까?"_qs, TMsgIcon::Question,
                            TMsgButton::Yes | TMsgButton::No, TMsgButton::No);
    EXPECT_EQ(ShowAndAnswer(question, seen, QMessageBox::NoButton), TMsgButton::No);
    EXPECT_EQ(seen.Title, u"종료 확인"_qs);
    EXPECT_EQ(seen.Icon, QMessageBox::Question);
    EXPECT_EQ(seen.Buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.Default, QMessageBox::No);
    EXPECT_EQ(ShowAndAnswer(question, seen, QMessageBox::Yes), TMsgButton::Yes);

    const TMessage paste(u"이미지 붙여넣기"_qs, "line one\r\nline two", TMsgIcon::Information,
                         TMsgButton::Ok | TMsgButton::Cancel, TMsgButton::Cancel);
    EXPECT_EQ(ShowAndAnswer(paste, seen, QMessageBox::Ok), TMsgButton::Ok);
    EXPECT_EQ(seen.Text, "line one\nline two");
    EXPECT_EQ(seen.Default, QMessageBox::Cancel);

    // The simple box: no caption given means the application title; an OK button only.
    EXPECT_EQ(
        ShowAndAnswer(TMessage(QString(), "Unable to write to x", TMsgIcon::Error), seen, QMessageBox::Ok),
        TMsgButton::Ok);
    EXPECT_EQ(seen.Title, u"TAVRIN 이미지편집"_qs);
    EXPECT_EQ(seen.Icon, QMessageBox::Critical);
    EXPECT_EQ(seen.Buttons, QMessageBox::Ok);
}

TEST(MessageSeam, ScriptedSeamRecordsAndAnswers)
{
    TScriptedMessageSeam seam;
    seam.Answers = {TMsgButton::Yes};
    const TMessage ask("c", "t", TMsgIcon::Question, TMsgButton::Yes | TMsgButton::No, TMsgButton::No);
    EXPECT_EQ(seam.Show(ask), TMsgButton::Yes);               // scripted
    EXPECT_EQ(seam.Show(ask), TMsgButton::No);                // default button
    EXPECT_EQ(seam.Show(TMessage("c", "t")), TMsgButton::Ok); // the only button
    EXPECT_EQ(seam.Show(TMessage("c", "t", TMsgIcon::None, TMsgButton::Ok | TMsgButton::Cancel)),
              TMsgButton::None);
    ASSERT_EQ(seam.Shown.size(), 4u);
    EXPECT_EQ(seam.Shown[0].Caption, "c");
    EXPECT_TRUE(seam.Shown[0].Buttons.Has(TMsgButton::No));
    EXPECT_FALSE(seam.Shown[2].Buttons.Has(TMsgButton::Cancel));
}
