#pragma once
// A top-level window's placement as status.ini keeps it, taken from and given to a QWidget.
//
// The stored normal rectangle is the window's normal geometry (the size and place it has when neither
// minimized nor maximized). The toolkit has no minimized or maximized positions of its own, so those are
// stored as -1 ("let the platform choose"); Flags records only "restore to maximized".

#include "core/Geometry.h"

#include <QMargins>
#include <QRect>
#include <QSize>

#include <optional>
#include <string_view>
#include <vector>

class QWidget;

namespace tavrin {

class TIniStore;

// What the stored placement depends on; taken from the running system by CurrentScreenMetrics(), given
// explicitly by tests.
struct TScreenMetrics
{
    QSize Size;                   // the primary screen in pixels; names the keys of this screen size
    int PixelsPerInch = 96;       // logical pixels per inch of the primary screen
    std::vector<QRect> WorkAreas; // the available area of every screen, primary first
};

TScreenMetrics CurrentScreenMetrics();

inline constexpr int WpfRestoreToMaximized = 2;

struct TWindowPlacement
{
    int Flags = 0;
    TPoint MinPosition{-1, -1};
    TPoint MaxPosition{-1, -1};
    TRect NormalRect; // Right and Bottom exclusive
    friend bool operator==(const TWindowPlacement&, const TWindowPlacement&) = default;
};

TWindowPlacement GetWindowPlacement(const QWidget& window);

// Gives the window the normal rectangle without changing whether it is minimized or maximized (a
// maximized or full-screen window keeps its geometry). An empty rectangle is refused. The window, grown
// by its frame, is kept wholly inside the work area it overlaps most (the first one when it overlaps
// none): moved in, then shrunk if it is larger. A rectangle that fits is given as it is. False when
// nothing was set.
bool SetWindowPlacement(QWidget& window, const TWindowPlacement& placement,
                        const std::vector<QRect>& workAreas, const QMargins& frame = {});

// The window manager's frame around a top-level window (title bar and borders); a usual estimate while
// the window has not been framed yet, nothing on platforms without frames.
QMargins WindowFrameMargins(const QWidget& window);

// Writes FormVersion, Flags, PixelsPerInch, MinMaxPos and NormPos (each once with the screen size in its
// name and once without) into section.
void WritePlacement(TIniStore& store, std::string_view section, const TWindowPlacement& placement,
                    const TScreenMetrics& screen);

// The stored placement, or none when nothing is to be restored: no placement stored, a negative
// FormVersion, or a different pixels-per-inch setting. Parts that cannot be read come from current
// (positions of MinMaxPos from 0).
std::optional<TWindowPlacement> ReadPlacement(const TIniStore& store, std::string_view section,
                                              const TWindowPlacement& current, const TScreenMetrics& screen);

} // namespace tavrin
