// The main window's editor windows and the tab strip that mirrors them.
#include "shell/MainForm.h"

#include "editor/FmEditor.h"
#include "services/Config.h"
#include "services/FileDialogSeam.h"
#include "shell/Readouts.h"
#include "shell/StatusBar.h"
#include "shell/ToolPanel.h"
#include "shell/WindowArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTabBar>

namespace tavrin {

namespace {

TFmEditor* EditorOf(const QMdiSubWindow* sub) { return sub ? qobject_cast<TFmEditor*>(sub->widget()) : nullptr; }

} // namespace

TFmEditor* TMainForm::ActiveEditor() const { return EditorOf(FMdiArea->currentSubWindow()); }

QMdiSubWindow* TMainForm::SubWindowOf(int tag) const
{
    if (tag <= 0)
        return nullptr;
    for (QMdiSubWindow* sub : FMdiArea->subWindowList())
        if (const TFmEditor* editor = EditorOf(sub); editor && editor->Tag() == tag)
            return sub;
    return nullptr;
}

TFmEditor* TMainForm::FindEditorByTag(int tag) const { return EditorOf(SubWindowOf(tag)); }

int TMainForm::TabIndexOfTag(int tag) const
{
    for (int i = 0; i < FPageControl->count(); ++i)
        if (FPageControl->tabData(i).toInt() == tag)
            return i;
    return -1;
}

TFmEditor* TMainForm::NewEditor()
{
    const int n = ++FEditorNo;
    if (FPageControl->count() >= 1)
        FPageControl->show();
    int tab;
    {
        const QSignalBlocker quiet(FPageControl); // a tab made active by program raises no change
        tab = FPageControl->addTab(QString());
        FPageControl->setTabData(tab, n);
        FPageControl->setCurrentIndex(tab);
    }
    auto* editor = new TFmEditor(FServices.Messages);
    editor->SetTag(n);
    editor->SetFileDialogs(FServices.FileDialogs);
    editor->SetGuideColor(ColorDialogColor);
    editor->setWindowTitle(QStringLiteral("새 그림%1").arg(n));
    // Queued: the tab goes once the window is wholly gone, never while it is half destroyed.
    connect(editor, &QObject::destroyed, this, [this, n] { EditorDestroyed(n); }, Qt::QueuedConnection);
    SubscribeReadouts(*editor, *FToolPanel, *FStatusBar);
    FPageControl->setTabText(tab, editor->windowTitle());
    QMdiSubWindow* sub = FMdiArea->addSubWindow(editor);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    RememberStateWhenMinimized(*sub);
    sub->showMaximized();
    FMdiArea->setActiveSubWindow(sub);
    EditorResize();
    return editor;
}

void TMainForm::SyncTab(TFmEditor& editor)
{
    const int tab = TabIndexOfTag(editor.Tag());
    if (tab < 0)
        return;
    const QSignalBlocker quiet(FPageControl);
    FPageControl->setTabText(tab, editor.windowTitle());
    FPageControl->setCurrentIndex(tab);
}

void TMainForm::EditorResize()
{
    TFmEditor* editor = ActiveEditor();
    if (!editor || FClosing)
        return;
    SyncTab(*editor);
    ShowReadouts(*FToolPanel, *FStatusBar);
    editor->SetViewSelected(FConfig->UseViewSelected);
}

void TMainForm::EditorDestroyed(int tag)
{
    if (const int tab = TabIndexOfTag(tag); tab >= 0) {
        {
            const QSignalBlocker quiet(FPageControl);
            FPageControl->removeTab(tab);
            // The tab that followed becomes active, the first one after the last.
            if (FPageControl->count() > 0)
                FPageControl->setCurrentIndex(tab < FPageControl->count() ? tab : 0);
        }
        PageControlChange();
    }
    if (FPageControl->count() == 0) {
        FPageControl->hide();
        ShowReadouts(*FToolPanel, *FStatusBar); // nothing to show: back to the start
    }
    UpdateWindowCommands();
}

void TMainForm::ShowEditor(TFmEditor& editor)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(editor.parentWidget())) {
        RestoreEditor(*sub); // a minimized picture comes back when its tab is chosen
        FMdiArea->setActiveSubWindow(sub);
    }
}

void TMainForm::PageControlChange()
{
    const int tab = FPageControl->currentIndex();
    if (tab < 0)
        return;
    const int tag = FPageControl->tabData(tab).toInt();
    if (tag < 1)
        return;
    if (TFmEditor* editor = FindEditorByTag(tag))
        ShowEditor(*editor);
}

void TMainForm::PMICloseClick()
{
    if (TFmEditor* editor = ActiveEditor())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget()))
            sub->close();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FPageControl)
        return QMainWindow::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // A right press selects the tab under the pointer first, as a left click would.
        if (mouse->button() == Qt::RightButton) {
            const int tab = FPageControl->tabAt(mouse->position().toPoint());
            if (tab >= 0)
                FPageControl->setCurrentIndex(tab);
        }
    } else if (type == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (FPageControl->currentIndex() >= 0)
            if (TFmEditor* editor = FindEditorByTag(FPageControl->tabData(FPageControl->currentIndex()).toInt()))
                ShowEditor(*editor);
        if (mouse->button() == Qt::RightButton) {
            FPopupMenuTab->popup(mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace tavrin
