#pragma once
// The main window's part of status.ini: its placement and the colour of its colour dialog. The window
// calls Restore() when it is first shown and Save() when it is about to close, and Save() again while
// being destroyed in case closing never got that far; only the first of each call has an effect.

#include "core/Color.h"
#include "services/IniFileStorage.h"
#include "services/WindowPlacement.h"

#include <functional>
#include <string>

class QWidget;

namespace tavrin {

class TIniStore;

class TFormStorage
{
  public:
    struct TColorProperty
    {
        std::function<TColor()> Get;
        std::function<void(TColor)> Set;
    };

    // store and form must outlive this object.
    TFormStorage(TIniStore& store, QWidget& form, TColorProperty colorDialogColor,
                 std::string section = StatusIni::MainFormSection);

    // Restores the placement (unless stored for another pixels-per-inch setting, or not at all), keeping
    // the window inside the screen's work area either way, and the colour (when stored and readable; otherwise the colour stays as it is).
    void Restore(const TScreenMetrics& screen = CurrentScreenMetrics());
    void Save(const TScreenMetrics& screen = CurrentScreenMetrics());

  private:
    TIniStore& FStore;
    QWidget& FForm;
    TColorProperty FColor;
    std::string FSection;
    bool FRestored = false;
    bool FSaved = false;
};

} // namespace tavrin
