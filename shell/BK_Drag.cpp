#include "shell/BK_Drag.h"

#include "shell/DropFilter.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QStringDecoder>
#include <QUrl>
#include <QWidget>

namespace tavrin {

namespace {

const QString kMozUrlFormat = QStringLiteral("text/x-moz-url");

// "text/x-moz-url" holds "address\ntitle", normally in UTF-16; some sources send UTF-8.
QString MozUrlAddress(const QByteArray& bytes)
{
    QString text;
    if (bytes.contains('\0'))
        text = QStringDecoder(QStringConverter::Utf16).decode(bytes);
    else
        text = QString::fromUtf8(bytes);
    const QString address = text.section(u'\n', 0, 0).remove(u'\0').trimmed();
    return QUrl(address).isLocalFile() ? QString() : address;
}

// The address of a dropped web link: a non-file entry of the URL list, else the browser's own format.
QString WebAddress(const QMimeData& data)
{
    for (const QUrl& url : data.urls())
        if (!url.isEmpty() && !url.isLocalFile()) return url.toString();
    if (data.hasFormat(kMozUrlFormat)) return MozUrlAddress(data.data(kMozUrlFormat));
    return {};
}

void Take(QDropEvent& event)
{
    event.setDropAction(Qt::CopyAction);
    event.accept();
}

// An ignored event is what tells the platform to show no effect; the action itself cannot be cleared.
void Refuse(QDropEvent& event)
{
    event.ignore();
}

} // namespace

TBK_Drag::TBK_Drag(QObject* parent) : QObject(parent) {}

TBK_Drag::~TBK_Drag()
{
    for (QWidget* window : FTargets.keys())
        Unregister(window);
    if (FFilterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void TBK_Drag::Register(QWidget* window)
{
    if (!window || FTargets.contains(window)) return;
    // Drags go to the innermost widget that accepts drops, which may be deep inside the window; an
    // application-wide filter sees them wherever they land.
    if (!FFilterInstalled && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        FFilterInstalled = true;
    }
    TDropTarget target;
    target.HadAcceptDrops = window->acceptDrops();
    FTargets.insert(window, target);
    window->setAcceptDrops(true);
    connect(window, &QObject::destroyed, this, [this, window] { FTargets.remove(window); });
}

void TBK_Drag::Unregister(QWidget* window)
{
    const auto it = FTargets.find(window);
    if (it == FTargets.end()) return;
    disconnect(window, &QObject::destroyed, this, nullptr);
    window->setAcceptDrops(it->HadAcceptDrops);
    FTargets.erase(it);
}

void TBK_Drag::SetFilter(const QStringList& extensions)
{
    FFilter = NormalizeDropFilter(extensions);
}

QStringList TBK_Drag::ReadDragItems(const QMimeData& data) const
{
    QStringList items;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        const QString name = url.toLocalFile();
        if (AcceptsDropName(name, FFilter, FAllExt)) items.append(name);
    }
    const QString address = WebAddress(data);
    if (!address.isEmpty()) items.append(address);
    return items;
}

TBK_Drag::TDropTarget* TBK_Drag::TargetFor(QWidget* widget, QWidget** window)
{
    // The innermost registered window that holds the widget; other top-level windows (dialogs owned
    // by a registered window, say) are not part of it.
    for (QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        const auto it = FTargets.find(w);
        if (it != FTargets.end()) {
            *window = w;
            return &*it;
        }
    }
    return nullptr;
}

bool TBK_Drag::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave &&
        type != QEvent::Drop)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* window = nullptr;
    TDropTarget* target = widget ? TargetFor(widget, &window) : nullptr;
    if (!target) return false;
    if (type == QEvent::DragLeave) {
        DragLeave(*target);
        return false;
    }
    auto& drop = static_cast<QDropEvent&>(*event);
    const bool taken = type == QEvent::DragEnter  ? DragEnter(*target, drop)
                       : type == QEvent::DragMove ? DragMove(*target, drop)
                                                  : Drop(*target, drop);
    if (taken) return true;
    // A widget inside the window that takes drops of its own keeps what this target refuses.
    if (widget != window) return false;
    Refuse(drop);
    return true;
}

bool TBK_Drag::DragEnter(TDropTarget& target, QDropEvent& event)
{
    target.Items.clear();
    target.Accepted = false;
    if (!FEnabled || !event.mimeData()) return false;
    target.Items = ReadDragItems(*event.mimeData());
    target.Accepted = !target.Items.isEmpty();
    if (!target.Accepted) return false;
    Take(event);
    if (OnDragEnterFile) OnDragEnterFile(target.Items);
    return true;
}

bool TBK_Drag::DragMove(TDropTarget& target, QDropEvent& event)
{
    if (!FEnabled || !target.Accepted) return false;
    Take(event);
    if (OnDragOverFile) OnDragOverFile();
    return true;
}

void TBK_Drag::DragLeave(TDropTarget& target)
{
    target.Accepted = false;
    if (FEnabled && OnDragLeaveFile) OnDragLeaveFile();
}

bool TBK_Drag::Drop(TDropTarget& target, QDropEvent& event)
{
    target.Accepted = false;
    if (!FEnabled || !event.mimeData()) return false;
    QStringList items = ReadDragItems(*event.mimeData());
    target.Items.clear();
    if (items.isEmpty()) return false;
    Take(event);
    DeliverDrop(items);
    return true;
}

void TBK_Drag::DeliverDrop(const QStringList& items)
{
    // Queued: the drop is answered first, and the handler's windows and messages come after it.
    QMetaObject::invokeMethod(
        this,
        [this, items] {
            if (OnDragDropFile) OnDragDropFile(items);
        },
        Qt::QueuedConnection);
}

} // namespace tavrin
