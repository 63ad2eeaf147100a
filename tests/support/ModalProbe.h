#pragma once
// Acts on a modal dialog that the code under test opens with exec(): the action runs once the dialog's
// event loop is going, and the dialog is then rejected if the action left it open. Destroying the probe
// cancels an action whose dialog never came, so it cannot fire in a later test.
//
//   ModalProbe<TFmImgTag> probe([&](TFmImgTag& d) { ... });
//   editor->EditAreaTag();
//   EXPECT_EQ(probe.Seen(), 1);

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace tavrin::test {

template <class Dialog> class ModalProbe
{
  public:
    explicit ModalProbe(std::function<void(Dialog&)> act) : FAct(std::move(act))
    {
        QTimer::singleShot(0, &FContext, [this] { Run(); });
    }
    int Seen() const { return FSeen; }

  private:
    void Run()
    {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog of the expected kind";
            return;
        }
        ++FSeen;
        FAct(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    }

    std::function<void(Dialog&)> FAct;
    QObject FContext;
    int FSeen = 0;
};

} // namespace tavrin::test
