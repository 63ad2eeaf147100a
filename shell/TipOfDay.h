#pragma once
// The tip of the day: a dialog with one of fifteen tips, shown once after the program has started and
// first become active (unless the user switched that off), and whenever the Help menu asks for it.
// Whether it shows at start is kept in status.ini, section "TodayTip", key "Show_On_Startup".

#include <QDialog>
#include <QPointer>
#include <QStringList>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tavrin {

class TIniStore;

// The tips, in order.
const QStringList& TipTexts();

// The dialog: 400 x 258, tip panel with a light bulb, "다음팁" and "닫기" (Enter and Esc close it).
class TFmTipOfDay : public QDialog
{
    Q_OBJECT
public:
    TFmTipOfDay(const QStringList& tips, int first, bool showOnStartup, QWidget* owner);

    int TipIndex() const { return FIndex; }
    QString TipText() const;
    bool ShowOnStartup() const;
    QPushButton& ButtonNext() const { return *FButtonNext; }
    QPushButton& ButtonClose() const { return *FButtonClose; }
    QCheckBox& CheckBox() const { return *FCheckBox; }

    void NextTip();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowTip();

    QStringList FTips;
    int FIndex = 0;
    QLabel* FTipText = nullptr;
    QCheckBox* FCheckBox = nullptr;
    QPushButton* FButtonNext = nullptr;
    QPushButton* FButtonClose = nullptr;
};

class TTipOfDay : public QObject
{
    Q_OBJECT
public:
    // `store` is status.ini in memory and must outlive this object; the dialog belongs to `owner`.
    TTipOfDay(TIniStore& store, QWidget* owner);

    // Shows the dialog now, modal but without blocking the caller; `startUp` skips it when switched
    // off. A request while the dialog shows is ignored.
    void Execute(bool startUp = false);
    // Shows the dialog once, right after `window` is first activated.
    void ShowAfterFirstActivation(QWidget& window);

    bool ShowOnStartup() const { return FShowOnStartup; }
    TFmTipOfDay* Dialog() const { return FDialog; } // while it shows

    // The first tip; by default a random one. Tests may fix it.
    std::function<int(int count)> PickFirst;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Closed();

    TIniStore& FStore;
    QWidget* FOwner;
    bool FShowOnStartup = true;
    QPointer<TFmTipOfDay> FDialog;
};

} // namespace tavrin
