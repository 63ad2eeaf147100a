#pragma once
// TBK_Drag: the drop target of the main window. Windows given to Register accept drops; a drag over a
// registered window or over any widget inside it (editor windows in the frame included) is answered
// here: it is taken, with the copy effect, when it carries a file whose extension is in the filter or
// a web link. Dropping hands the items to OnDragDropFile: the accepted file names in the drag's order,
// exactly as dropped, then at most one web address.
//
// OnDragDropFile runs from the event loop right after the drop has been answered, never inside the
// platform's drag-and-drop processing, so the handler may open windows, load pictures and show
// message boxes without holding the drag source up.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QDropEvent;
class QMimeData;
class QWidget;

namespace tavrin {

class TBK_Drag : public QObject
{
    Q_OBJECT
  public:
    using TItemsEvent = std::function<void(const QStringList& items)>;

    explicit TBK_Drag(QObject* parent = nullptr);
    // Unregisters every window still registered.
    ~TBK_Drag() override;

    // Makes `window` (and everything inside it) a drop target. A window destroyed first is forgotten.
    void Register(QWidget* window);
    void Unregister(QWidget* window);

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool AllExt() const { return FAllExt; }
    void SetAllExt(bool value) { FAllExt = value; }
    // Accepted extensions without the dot; stored upper-cased, empty entries dropped.
    const QStringList& Filter() const { return FFilter; }
    void SetFilter(const QStringList& extensions);

    // What a drag carries for this target, by the filter: accepted file names, then a web address.
    QStringList ReadDragItems(const QMimeData& data) const;

    TItemsEvent OnDragDropFile;
    TItemsEvent OnDragEnterFile;
    std::function<void()> OnDragOverFile;
    std::function<void()> OnDragLeaveFile;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // One per registered window: the items of the drag in progress and whether it was taken.
    struct TDropTarget
    {
        QStringList Items;
        bool Accepted = false;
        bool HadAcceptDrops = false;
    };

    TDropTarget* TargetFor(QWidget* widget, QWidget** window);
    bool DragEnter(TDropTarget& target, QDropEvent& event);
    bool DragMove(TDropTarget& target, QDropEvent& event);
    void DragLeave(TDropTarget& target);
    bool Drop(TDropTarget& target, QDropEvent& event);
    void DeliverDrop(const QStringList& items);

    bool FEnabled = true;
    bool FAllExt = false;
    QStringList FFilter;
    QHash<QWidget*, TDropTarget> FTargets; // keys are registered, live windows
    bool FFilterInstalled = false;
};

} // namespace tavrin
