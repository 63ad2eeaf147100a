// The main window's commands as a user reaches them: menus, shortcuts, the header tool bar and its
// drop-down menus, with and without an editor window.
#include "editor/FmEditor.h"
#include "editor/Image32.h"
#include "services/Config.h"
#include "services/FileDialogSeam.h"
#include "services/IniFileStorage.h"
#include "services/MessageSeamScripted.h"
#include "shell/CommandLink.h"
#include "shell/Commands.h"
#include "shell/FmAbout.h"
#include "shell/MainForm.h"
#include "shell/ShellOpen.h"
#include "shell/TipOfDay.h"
#include "shell/ToolBarHead.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace tavrin;

namespace {

class RecordingFileDialogs : public IFileDialogSeam
{
public:
    int Asked = 0;
    QStringList GetOpenFileNames(QWidget*, const QString&, const QString&) override
    {
        ++Asked;
        return {};
    }
    TSaveDialogAnswer GetSaveFileName(QWidget*, const TSaveDialogRequest&) override { return {}; }
};

// Catches the web pages the program asks the desktop to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    UrlCatcher()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open");
    }
    ~UrlCatcher() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    }
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened << url; }
};

struct CommandsFixture : ::testing::Test
{
    QTemporaryDir dir;
    TScriptedMessageSeam messages;
    RecordingFileDialogs dialogs;
    std::unique_ptr<TAppIniFileStorage> status;
    std::unique_ptr<TMainForm> form;
    int sizeAsked = 0;

    void SetUp() override
    {
        status = std::make_unique<TAppIniFileStorage>(dir.filePath("status.ini"));
        MakeForm();
    }
    void MakeForm()
    {
        form = std::make_unique<TMainForm>(TMainForm::TServices{messages, dialogs, *status, dir.path()});
        form->AskImageSize = [this]() -> std::optional<TImageSize> {
            ++sizeAsked;
            return std::nullopt;
        };
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QDialog*>(w) && w->isVisible())
                w->close();
        for (QMdiSubWindow* sub : form->MdiArea().subWindowList())
            if (auto* e = qobject_cast<TFmEditor*>(sub->widget()))
                e->Document().FFileName = "x"; // no close questions while tidying up
        form.reset();
        status.reset();
    }
    void ShowForm()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    static void Activate(QWidget* window)
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QAction& Command(TCommandId id) { return form->Commands()[id]; }
    TFmEditor* NewPicture()
    {
        TFmEditor* editor = form->NewEditor();
        editor->NewImage(200, 150);
        return editor;
    }
    QMenu* TopMenu(const char* name) { return form->menuBar()->findChild<QMenu*>(QString::fromUtf8(name)); }
    QAction* MenuEntry(const char* menu, const char* entryCaption)
    {
        for (QAction* a : TopMenu(menu)->actions())
            if (CaptionOf(*a) == QString::fromUtf8(entryCaption))
                return a;
        return nullptr;
    }
    static TFmAbout* OpenAbout()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* about = qobject_cast<TFmAbout*>(w); about && about->isVisible())
                return about;
        return nullptr;
    }
};

} // namespace

TEST_F(CommandsFixture, MenusShowTheirEntriesInOrder)
{
    QStringList seen;
    for (QAction* top : form->menuBar()->actions()) {
        QStringList entries;
        for (QAction* entry : top->menu()->actions())
            entries << (entry->isSeparator() ? QStringLiteral("-") : CaptionOf(*entry));
        seen << top->text() + ": " + entries.join(" | ");
    }
    const QStringList expected{
        "파일(&F): 새 이미지(&N) | 열기(&O) | 조각 모두 저장(&A) | 닫기(&C) | - | 종료(&X)",
        "편집(&E): 이미지 복사(&C) | 이미지 붙여넣기(&P) | 가이드 라인 삭제 | 가이드선 모두 삭제 | 사각 선택툴 모두 삭제",
        "보기(&V): 이미지 확대(&P) | 이미지 축소(&M) | 원본 이미지(&O) | 선택영역 보기(&V)",
        "도구(&T): 가이드선 색상 변경(&C) | 영역 선택툴(&S) | 이미지맵 전체 태그 보기",
        "창(&W): 계단형 정렬(&C) | 수평 정렬(&H) | 수직 정렬(&V) | 모두 최소화(&M)",
        "도움말(&H): 오늘의 팁(&T) | 홈페이지(&H) | TAVRIN 정보(&A)",
    };
    EXPECT_EQ(seen, expected);
    // Entries with captions of their own still show the command's shortcut.
    EXPECT_TRUE(MenuEntry("File1", "열기(&O)")->text().endsWith(QKeySequence(Qt::CTRL | Qt::Key_O).toString(
        QKeySequence::NativeText)));
    const QStringList dropDowns{"PopupMenuSave", "PopupMenuSort", "PopupMenuView"};
    QStringList popupSeen;
    for (const QString& name : dropDowns) {
        QStringList entries;
        for (QAction* entry : form->ToolBarHead().findChild<QMenu*>(name)->actions()) {
            entries << CaptionOf(*entry);
            EXPECT_EQ(entry->icon().actualSize(QSize(18, 18)), QSize(18, 18)) << entries.last().toStdString();
        }
        popupSeen << entries.join(" | ");
    }
    EXPECT_EQ(popupSeen, (QStringList{"선택 이미지 저장 | 투명 &GIF 저장 | 조각 모두 저장", "계단형(&C) | 수평(&H) | 수직(&V)",
                                      "확대(&+) | 축소(&-) | 원본(&/)"}));
}

TEST_F(CommandsFixture, WithoutAnEditorOnlyTheFrameCommandsAct)
{
    ShowForm();
    // Greyed: the window commands wherever they appear, and the File menu's close entry.
    for (const char* caption : {"계단형 정렬(&C)", "수평 정렬(&H)", "수직 정렬(&V)", "모두 최소화(&M)"})
        EXPECT_FALSE(MenuEntry("Window1", caption)->isEnabled()) << caption;
    EXPECT_FALSE(MenuEntry("File1", "닫기(&C)")->isEnabled());
    for (QAction* entry : form->ToolBarHead().PopupMenuSort().actions())
        EXPECT_FALSE(entry->isEnabled());

    // The picture commands do nothing and make no window.
    using enum TCommandId;
    for (TCommandId id : {ImgCopy, ImgPaste, ImgLayerDelete, ImgGuideDelAll, ImgSelectDelAll, ImgPlus, ImgMinus,
                          ImgOrg, ImgSelect, ImgNone, ImgMapRect, ImgMapCircle, ImgMapPolygon, Magnet, ImgSave,
                          ImgSaveGif, ImgMapTag, SplitColorChange, ColorChange}) {
        Command(id).trigger();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << TCommands::Def(id).Name;
    }
    EXPECT_TRUE(form->MdiArea().subWindowList().isEmpty());
    EXPECT_TRUE(messages.Shown.empty());

    // New and open ask; the arrange button is a harmless no-op.
    Command(FileNew).trigger();
    Command(FileOpen).trigger();
    EXPECT_EQ(sizeAsked, 1);
    EXPECT_EQ(dialogs.Asked, 1);
    form->ToolBarHead().Button(TToolBarHead::bnSort).click();
    EXPECT_EQ(form->ArrangeCount(), 1);

    // The view-selected toggle: mark, stored option, and the next editor brought forward.
    const bool before = form->Config().UseViewSelected;
    MenuEntry("MMIView", "선택영역 보기(&V)")->trigger();
    EXPECT_EQ(form->MMIViewSelected->isChecked(), !before);
    EXPECT_EQ(form->Config().UseViewSelected, !before);
    EXPECT_EQ(NewPicture()->Document().FViewSelected, !before);
    Command(ImgViewSelected).trigger(); // the command itself inverts the entry's mark too
    EXPECT_EQ(form->MMIViewSelected->isChecked(), before);
    EXPECT_EQ(form->ActiveEditor()->Document().FViewSelected, before);

    form->ActiveEditor()->Document().FFileName = "x"; // no close question
    Command(FileExit).trigger();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(CommandsFixture, WindowCommandsFollowTheEditorWindows)
{
    ShowForm();
    TFmEditor* editor = NewPicture();
    EXPECT_TRUE(MenuEntry("File1", "닫기(&C)")->isEnabled());
    EXPECT_TRUE(MenuEntry("Window1", "모두 최소화(&M)")->isEnabled());
    editor->Document().FFileName = "x";
    MenuEntry("File1", "닫기(&C)")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->MdiArea().subWindowList().isEmpty(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !MenuEntry("File1", "닫기(&C)")->isEnabled(); }));
    EXPECT_FALSE(MenuEntry("Window1", "모두 최소화(&M)")->isEnabled());
}

TEST_F(CommandsFixture, ToolCommandsSetTheActiveEditorsTool)
{
    ShowForm();
    NewPicture();
    TFmEditor* editor = NewPicture(); // the active one
    QSignalSpy refreshes(&form->Commands(), &TCommands::ToolModeSet);
    struct Case
    {
        TCommandId Command;
        TToolMode Mode;
    };
    using enum TCommandId;
    for (const Case& c : {Case{ImgMapRect, TToolMode::tmMapRect}, Case{ImgMapCircle, TToolMode::tmMapCircle},
                           Case{ImgMapPolygon, TToolMode::tmMapPolygon}, Case{ImgSelect, TToolMode::tmSelect},
                           Case{ImgNone, TToolMode::tmNone}}) {
        Command(c.Command).trigger();
        EXPECT_EQ(editor->GetToolMode(), c.Mode) << TCommands::Def(c.Command).Name;
    }
    EXPECT_EQ(refreshes.count(), 5);
    const bool magnet = editor->IsMagnet();
    Command(Magnet).trigger();
    EXPECT_EQ(editor->IsMagnet(), !magnet);
    EXPECT_EQ(refreshes.count(), 6);
    // The other window keeps its own tool.
    EXPECT_EQ(form->FindEditorByTag(1)->GetToolMode(), TToolMode::tmNone);
}

TEST_F(CommandsFixture, ShortcutsAndZoomCommandsReachTheEditor)
{
    ShowForm();
    TFmEditor* editor = NewPicture();
    Activate(form.get());
    editor->setFocus();
    const int guides = editor->Image().Layers().Count();
    editor->Document().AddVerticalGuide(20, 150);
    ASSERT_EQ(editor->Image().Layers().Count(), guides + 1);
    QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(editor->Image().Layers().Count(), guides);

    QTest::keyClick(editor, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(sizeAsked, 1);
    EXPECT_EQ(dialogs.Asked, 1);

    // Zoom steps by a tenth; the own-size command returns to 100 %, also through the view drop-down.
    Command(TCommandId::ImgOrg).trigger();
    EXPECT_EQ(editor->GetScalePercent(), 100);
    Command(TCommandId::ImgPlus).trigger();
    EXPECT_EQ(editor->GetScalePercent(), 110);
    Command(TCommandId::ImgPlus).trigger();
    Command(TCommandId::ImgMinus).trigger();
    EXPECT_EQ(editor->GetScalePercent(), 110);
    Command(TCommandId::ImgPlus).trigger();
    form->ToolBarHead().findChild<QAction*>("PopupMeneImgOrg")->trigger();
    EXPECT_EQ(editor->GetScalePercent(), 100);
}

TEST_F(CommandsFixture, PictureDialogsOpenFromTheMenus)
{
    ShowForm();
    NewPicture();
    struct Case
    {
        QAction* Entry;
        const char* Dialog;
    };
    const Case cases[] = {
        {MenuEntry("MMTool", "이미지맵 전체 태그 보기"), "tavrin::TFmImgMapAll"},
        {form->ToolBarHead().findChild<QAction*>("PopupMenuSaveGif"), "tavrin::TFmGIF"},
        {MenuEntry("File1", "조각 모두 저장(&A)"), "tavrin::TFmSaveSlices"},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.Entry, nullptr) << c.Dialog;
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                shown = QString::fromUtf8(modal->metaObject()->className());
                modal->close();
            }
        });
        c.Entry->trigger(); // the dialog runs modally until the timer closes it
        EXPECT_EQ(shown, QString::fromUtf8(c.Dialog));
    }
}

TEST_F(CommandsFixture, TextFieldsKeepCopyPasteAndCtrlD)
{
    ShowForm();
    TFmEditor* editor = NewPicture();
    editor->Document().AddVerticalGuide(20, 150);
    const int layers = editor->Image().Layers().Count();

    // A text field in a dialog of the main window, and one inside the main window itself.
    QDialog dialog(form.get());
    auto* inDialog = new QLineEdit(&dialog);
    (new QVBoxLayout(&dialog))->addWidget(inDialog);
    auto* inFrame = new QLineEdit(form.get());
    inFrame->setGeometry(300, 5, 100, 20);
    inFrame->show();
    for (QLineEdit* field : {inDialog, inFrame}) {
        QWidget* window = field->window();
        window->show();
        Activate(window);
        field->setFocus();
        field->setText(QStringLiteral("가나다"));
        field->selectAll();
        QApplication::clipboard()->clear();
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("가나다"));
        field->setText(QString());
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(field->text(), QStringLiteral("가나다"));
        QTest::keyClick(field, Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(editor->Image().Layers().Count(), layers) << "Ctrl+D reached the picture";
    }
    dialog.close();
}

TEST_F(CommandsFixture, ArrangeButtonCyclesCascadeHorizontalVertical)
{
    ShowForm();
    NewPicture();
    NewPicture();
    NewPicture();
    THeadButton& sort = form->ToolBarHead().Button(TToolBarHead::bnSort);
    const QRect space = form->MdiArea().viewport()->rect();
    const auto arrangement = [&] {
        QList<QRect> g;
        for (QMdiSubWindow* sub : form->MdiArea().subWindowList(QMdiArea::CreationOrder))
            g << sub->geometry();
        const bool rows = g[0].width() == space.width() && g[1].width() == space.width() && g[1].top() > g[0].top() &&
                          g[2].top() > g[1].top() && g[0].height() < space.height();
        const bool columns = g[0].height() == space.height() && g[1].height() == space.height() &&
                             g[1].left() > g[0].left() && g[2].left() > g[1].left() && g[0].width() < space.width();
        const bool cascade = g[1].topLeft().x() > g[0].topLeft().x() && g[1].topLeft().y() > g[0].topLeft().y() &&
                             g[1].intersects(g[0]);
        return rows ? QStringLiteral("horizontal") : columns ? QStringLiteral("vertical")
                                                    : cascade ? QStringLiteral("cascade") : QStringLiteral("?");
    };
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(&sort, Qt::LeftButton, {}, QPoint(20, 20)); // the body, not the arrow
        seen << arrangement();
    }
    EXPECT_EQ(seen, (QStringList{"cascade", "horizontal", "vertical", "cascade"}));
}

// Minimize-all minimizes every picture whatever its state (maximized, the default, or normal); a tab
// click brings a minimized picture back and activates it; a cascade gives every window the size the
// cascade leaves room for.
TEST_F(CommandsFixture, WindowArrangementsWorkFromEveryState)
{
    ShowForm();
    const QList<TFmEditor*> editors{NewPicture(), NewPicture(), NewPicture()};
    QMdiArea& area = form->MdiArea();
    const auto subOf = [](TFmEditor* e) { return qobject_cast<QMdiSubWindow*>(e->parentWidget()); };
    const auto minimized = [&] {
        int n = 0;
        for (QMdiSubWindow* sub : area.subWindowList())
            n += sub->isMinimized() ? 1 : 0;
        return n;
    };
    ASSERT_TRUE(subOf(editors[2])->isMaximized());
    for (int round = 0; round < 2; ++round) { // maximized first, then after a cascade (normal windows)
        SCOPED_TRACE(round);
        Command(TCommandId::WindowMinimizeAll).trigger();
        QApplication::processEvents();
        EXPECT_EQ(minimized(), 3);

        QTabBar& tabs = form->PageControl();
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(1).center());
        QApplication::processEvents();
        EXPECT_FALSE(subOf(editors[1])->isMinimized());
        // It comes back as it was before: maximized in the first round, at its cascade place in the second.
        EXPECT_EQ(subOf(editors[1])->isMaximized(), round == 0);
        EXPECT_EQ(form->ActiveEditor(), editors[1]);
        EXPECT_EQ(minimized(), 2);
        // The tab that is already current brings its window back too.
        Command(TCommandId::WindowMinimizeAll).trigger();
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(tabs.currentIndex()).center());
        QApplication::processEvents();
        EXPECT_EQ(minimized(), 2);
        for (TFmEditor* e : editors)
            subOf(e)->showNormal();
        Command(TCommandId::WindowCascade).trigger();
        QApplication::processEvents();

        const QRect space = area.viewport()->rect();
        QList<QRect> g;
        const QList<QMdiSubWindow*> stacked = area.subWindowList(QMdiArea::StackingOrder);
        for (QMdiSubWindow* sub : stacked)
            g << sub->geometry();
        EXPECT_EQ(stacked.back(), subOf(form->ActiveEditor())) << "the active window stays in front";
        const QPoint step = g[1].topLeft() - g[0].topLeft();
        EXPECT_GT(step.x(), 0);
        EXPECT_GT(step.y(), 0);
        EXPECT_EQ(g[2].topLeft() - g[1].topLeft(), step);
        for (const QRect& r : g) {
            EXPECT_TRUE(space.contains(r)) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
            EXPECT_EQ(r.size(), g[0].size());
        }
        EXPECT_EQ(g[2].bottomRight(), space.bottomRight()) << "the last window reaches the frame's corner";
        EXPECT_EQ(g[0].topLeft(), space.topLeft());
    }
}

TEST_F(CommandsFixture, HeaderButtonsShowHoverPictures)
{
    ShowForm();
    TToolBarHead& bar = form->ToolBarHead();
    for (int tag = 0; tag < 7; ++tag) {
        THeadButton& button = bar.Button(static_cast<TToolBarHead::TButton>(tag));
        EXPECT_EQ(button.Tag(), tag);
        EXPECT_EQ(button.height(), 59);
        EXPECT_TRUE(button.toolTip().isEmpty()); // pictures only, no pop-up hints
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&button, &enter);
        EXPECT_EQ(button.ImageIndex(), tag + 7);
        QApplication::sendEvent(&button, &enter); // entered again without a leave: still the hover picture
        EXPECT_EQ(button.ImageIndex(), tag + 7);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&button, &leave);
        EXPECT_EQ(button.ImageIndex(), tag);
    }
    // The open button is normal again once its dialog has closed, though the pointer never left.
    THeadButton& open = bar.Button(TToolBarHead::bnImgOpen);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&open, &enter);
    QTest::mouseClick(&open, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(dialogs.Asked, 1);
    EXPECT_EQ(open.ImageIndex(), open.Tag());
}

TEST_F(CommandsFixture, ViewButtonBodyOpensItsMenu)
{
    ShowForm();
    THeadButton& view = form->ToolBarHead().Button(TToolBarHead::bnView);
    QMenu& menu = form->ToolBarHead().PopupMenuView();
    QTimer::singleShot(0, &menu, [&menu] { menu.close(); });
    QSignalSpy shown(&menu, &QMenu::aboutToShow);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(shown.count(), 1);
    EXPECT_GE(menu.pos().y(), view.mapToGlobal(QPoint(0, view.height())).y() - 1); // below the button
}

TEST_F(CommandsFixture, HelpMenuOpensTipHomePageAndAbout)
{
    ShowForm();
    UrlCatcher urls;
    MenuEntry("Help1", "홈페이지(&H)")->trigger();
    QTest::mouseClick(form->findChild<QWidget*>("Panel1"), Qt::LeftButton);
    EXPECT_EQ(urls.Opened, (QList<QUrl>{QUrl(WebPages::HomePage), QUrl(WebPages::PromotionPage)}));

    MenuEntry("Help1", "오늘의 팁(&T)")->trigger();
    TFmTipOfDay* tip = form->TipOfDay().Dialog();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->isVisible());
    MenuEntry("Help1", "오늘의 팁(&T)")->trigger(); // a second request while it shows is ignored
    EXPECT_EQ(form->TipOfDay().Dialog(), tip);
    tip->ButtonClose().click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->TipOfDay().Dialog() == nullptr; }));

    MenuEntry("Help1", "TAVRIN 정보(&A)")->trigger();
    ASSERT_NE(OpenAbout(), nullptr);
    EXPECT_TRUE(OpenAbout()->isModal());
    EXPECT_EQ(OpenAbout()->size(), QSize(423, 255));
}

TEST_F(CommandsFixture, AboutBoxClosesOnAPressEscOrEnter)
{
    ShowForm();
    struct Case
    {
        const char* Name;
        std::function<void(TFmAbout&)> Act;
        bool Closes;
    };
    const Case cases[] = {
        {"left press", [](TFmAbout& a) { QTest::mousePress(&a.Image1(), Qt::LeftButton, {}, QPoint(200, 100)); }, true},
        {"right press", [](TFmAbout& a) { QTest::mousePress(&a, Qt::RightButton, {}, QPoint(5, 250)); }, true},
        {"Esc", [](TFmAbout& a) { QTest::keyClick(&a, Qt::Key_Escape); }, true},
        {"Enter", [](TFmAbout& a) { QTest::keyClick(&a, Qt::Key_Return); }, true},
        {"keypad Enter", [](TFmAbout& a) { QTest::keyClick(&a, Qt::Key_Enter, Qt::KeypadModifier); }, true},
        {"a letter", [](TFmAbout& a) { QTest::keyClick(&a, Qt::Key_A); }, false},
    };
    for (const Case& c : cases) {
        form->MIAboutClick();
        QPointer<TFmAbout> about = OpenAbout();
        ASSERT_NE(about, nullptr) << c.Name;
        c.Act(*about);
        if (c.Closes) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return about.isNull(); })) << c.Name; // closed and freed
        } else {
            EXPECT_TRUE(about->isVisible()) << c.Name;
            about->close();
            EXPECT_TRUE(QTest::qWaitFor([&] { return about.isNull(); }));
        }
    }
}

TEST_F(CommandsFixture, ProgramHasItsOwnIcon)
{
    const QIcon icon = form->windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage picture = icon.pixmap(64, 64).toImage();
    EXPECT_EQ(picture.size(), QSize(64, 64));
    EXPECT_EQ(picture.pixelColor(32, 6).blue() > picture.pixelColor(32, 6).red(), true); // the blue plate
}

#include "CommandsTest.moc"
