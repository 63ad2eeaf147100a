#include "services/WindowPlacement.h"

#include "core/RoundEven.h"
#include "services/IniFileNumbers.h"
#include "services/IniFileStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <array>
#include <iterator>
#include <string>

namespace tavrin {

namespace {

using TFour = std::array<int, 4>;

std::string KeyForScreen(std::string_view name, const TScreenMetrics& screen)
{
    return std::string(name) + "(" + std::to_string(screen.Size.width()) + "x" +
           std::to_string(screen.Size.height()) + ")";
}

std::string FormatFour(const TFour& v)
{
    return std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) + "," +
           std::to_string(v[3]);
}

// The value of the key for this screen size, else of the plain key; none when both are missing or empty.
std::optional<std::string> ReadPositionText(const TIniStore& store, std::string_view section,
                                            std::string_view name, const TScreenMetrics& screen)
{
    for (const std::string& key : {KeyForScreen(name, screen), std::string(name)}) {
        const auto text = store.Value(section, key);
        if (text && !TrimIniText(*text).empty()) return text;
    }
    return std::nullopt;
}

// Four numbers separated by ","; a missing or unreadable one keeps its fallback.
TFour ParseFour(std::string_view text, TFour fallback)
{
    for (int& v : fallback) {
        const std::size_t comma = text.find(',');
        if (auto n = ParseWholeNumber(text.substr(0, comma))) v = *n;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return fallback;
}

// The work area the rectangle overlaps most, or the first one when it overlaps none.
const QRect& TargetArea(const QRect& r, const std::vector<QRect>& areas, bool& overlaps)
{
    const QRect* best = &areas.front();
    long long bestOverlap = 0;
    for (const QRect& a : areas) {
        const QRect i = a.intersected(r);
        const long long overlap = i.isEmpty() ? 0 : static_cast<long long>(i.width()) * i.height();
        if (overlap > bestOverlap) {
            bestOverlap = overlap;
            best = &a;
        }
    }
    overlaps = bestOverlap > 0;
    return *best;
}

// The rectangle to give the window, or none for an empty or inverted one. Positions and sizes are
// first brought into a range where QRect arithmetic cannot overflow. The window with its frame is kept
// wholly inside the work area it overlaps most (or the first one): moved in first, then shrunk if it
// still does not fit, so that no edge, status bar or scroll bar is out of reach.
std::optional<QRect> FittedRect(const TRect& r, const std::vector<QRect>& areas, const QMargins& frame)
{
    const long long w = static_cast<long long>(r.Right) - r.Left;
    const long long h = static_cast<long long>(r.Bottom) - r.Top;
    if (w <= 0 || h <= 0) return std::nullopt;
    constexpr int Far = 1 << 24;
    constexpr int UnknownScreenLimit = 1 << 14; // when no screen is known, still no absurd window
    const QRect probe(std::clamp(r.Left, -Far, Far), std::clamp(r.Top, -Far, Far),
                      static_cast<int>(std::min<long long>(w, Far)),
                      static_cast<int>(std::min<long long>(h, Far)));
    std::vector<QRect> usable;
    std::copy_if(areas.begin(), areas.end(), std::back_inserter(usable),
                 [](const QRect& a) { return !a.isEmpty(); });
    if (usable.empty())
        return QRect(probe.topLeft(), probe.size().boundedTo(QSize(UnknownScreenLimit, UnknownScreenLimit)));

    bool overlaps = false;
    const QRect outer = TargetArea(probe.marginsAdded(frame), usable, overlaps);
    const QRect area = outer.marginsRemoved(frame);
    if (area.isEmpty()) return QRect(outer.topLeft(), probe.size().boundedTo(outer.size()));
    QRect fitted(probe.topLeft(), probe.size().boundedTo(area.size()));
    fitted.moveTo(std::clamp(fitted.left(), area.left(), area.left() + area.width() - fitted.width()),
                  std::clamp(fitted.top(), area.top(), area.top() + area.height() - fitted.height()));
    return fitted;
}

} // namespace

TScreenMetrics CurrentScreenMetrics()
{
    TScreenMetrics m;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary == nullptr) return m;
    m.Size = primary->size();
    m.PixelsPerInch = RoundEven(primary->logicalDotsPerInch());
    m.WorkAreas.push_back(primary->availableGeometry());
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary) m.WorkAreas.push_back(s->availableGeometry());
    return m;
}

TWindowPlacement GetWindowPlacement(const QWidget& window)
{
    TWindowPlacement p;
    const Qt::WindowStates state = window.windowState();
    if (state.testFlag(Qt::WindowMinimized) && state.testFlag(Qt::WindowMaximized))
        p.Flags = WpfRestoreToMaximized;
    QRect g = window.normalGeometry();
    if (!g.isValid()) g = window.geometry();
    p.NormalRect = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    return p;
}

QMargins WindowFrameMargins(const QWidget& window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    if (!known.isNull() || !window.isWindow()) return known;
    const QString platform = QGuiApplication::platformName();
    if (platform == u"offscreen" || platform == u"minimal") return {};
    // Not framed by the window manager yet: a usual title bar and border.
    return {4, 28, 4, 4};
}

bool SetWindowPlacement(QWidget& window, const TWindowPlacement& placement,
                        const std::vector<QRect>& workAreas, const QMargins& frame)
{
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) return false;
    const auto rect = FittedRect(placement.NormalRect, workAreas, frame);
    if (!rect) return false;
    window.setGeometry(*rect);
    return true;
}

void WritePlacement(TIniStore& store, std::string_view section, const TWindowPlacement& placement,
                    const TScreenMetrics& screen)
{
    const TRect& r = placement.NormalRect;
    const std::string minMax = FormatFour(
        {placement.MinPosition.X, placement.MinPosition.Y, placement.MaxPosition.X, placement.MaxPosition.Y});
    const std::string norm = FormatFour({r.Left, r.Top, r.Right, r.Bottom});
    store.WriteInteger(section, "FormVersion", 0);
    store.WriteInteger(section, "Flags", placement.Flags);
    store.WriteInteger(section, "PixelsPerInch", screen.PixelsPerInch);
    store.WriteString(section, KeyForScreen("MinMaxPos", screen), minMax);
    store.WriteString(section, "MinMaxPos", minMax);
    store.WriteString(section, KeyForScreen("NormPos", screen), norm);
    store.WriteString(section, "NormPos", norm);
}

std::optional<TWindowPlacement> ReadPlacement(const TIniStore& store, std::string_view section,
                                              const TWindowPlacement& current, const TScreenMetrics& screen)
{
    if (store.ReadInteger(section, "FormVersion", 0) < 0) return std::nullopt;
    const auto minMaxText = ReadPositionText(store, section, "MinMaxPos", screen);
    const auto normText = ReadPositionText(store, section, "NormPos", screen);
    if (!minMaxText && !normText) return std::nullopt;
    if (store.ReadInteger(section, "PixelsPerInch", screen.PixelsPerInch) != screen.PixelsPerInch)
        return std::nullopt;

    TWindowPlacement p = current;
    p.Flags = store.ReadInteger(section, "Flags", current.Flags);
    if (minMaxText) {
        const TFour v = ParseFour(*minMaxText, {0, 0, 0, 0});
        p.MinPosition = {v[0], v[1]};
        p.MaxPosition = {v[2], v[3]};
    }
    if (normText) {
        const TRect& c = current.NormalRect;
        const TFour v = ParseFour(*normText, {c.Left, c.Top, c.Right, c.Bottom});
        p.NormalRect = {v[0], v[1], v[2], v[3]};
    }
    return p;
}

} // namespace tavrin
