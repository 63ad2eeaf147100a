#pragma once
// A shown main window on a status file of its own, for the shell's widget tests. `Dialogs` answers the
// file dialogs; the message boxes are scripted.

#include "editor/FmEditor.h"
#include "services/FileDialogSeam.h"
#include "services/IniFileStorage.h"
#include "services/MessageSeamScripted.h"
#include "shell/MainForm.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace tavrin::test {

// File dialogs that are always cancelled.
class NoFileDialogs : public IFileDialogSeam
{
public:
    QStringList GetOpenFileNames(QWidget*, const QString&, const QString&) override { return {}; }
    TSaveDialogAnswer GetSaveFileName(QWidget*, const TSaveDialogRequest&) override { return {}; }
};

template <class Dialogs> struct MainFormFixture : ::testing::Test
{
    QTemporaryDir dir;
    TScriptedMessageSeam messages;
    Dialogs dialogs;
    std::unique_ptr<TAppIniFileStorage> status;
    std::unique_ptr<TMainForm> form;

    void SetUp() override
    {
        status = std::make_unique<TAppIniFileStorage>(dir.filePath("status.ini"));
        form = std::make_unique<TMainForm>(TMainForm::TServices{messages, dialogs, *status, dir.path()});
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override
    {
        for (QMdiSubWindow* sub : form->MdiArea().subWindowList())
            if (auto* e = qobject_cast<TFmEditor*>(sub->widget()))
                e->Document().FFileName = "x"; // no close questions while tidying up
        form.reset();
        status.reset();
    }
};

} // namespace tavrin::test
