#include "services/FormStorage.h"

#include "services/ColorNames.h"
#include "services/IniFileStore.h"

namespace tavrin {

namespace {

constexpr const char* ColorKey = "ColorDialog_Color";

} // namespace

TFormStorage::TFormStorage(TIniStore& store, QWidget& form, TColorProperty colorDialogColor,
                           std::string section)
    : FStore(store), FForm(form), FColor(std::move(colorDialogColor)), FSection(std::move(section))
{
}

void TFormStorage::Restore(const TScreenMetrics& screen)
{
    if (FRestored) return;
    FRestored = true;
    // Without a stored placement (first start) the design place is kept inside the screen just the same.
    const TWindowPlacement current = GetWindowPlacement(FForm);
    SetWindowPlacement(FForm, ReadPlacement(FStore, FSection, current, screen).value_or(current), screen.WorkAreas,
                       WindowFrameMargins(FForm));
    if (const auto text = FStore.Value(FSection, ColorKey))
        if (const auto color = SettingTextToColor(*text); color && FColor.Set) FColor.Set(*color);
}

void TFormStorage::Save(const TScreenMetrics& screen)
{
    if (FSaved) return;
    FSaved = true;
    WritePlacement(FStore, FSection, GetWindowPlacement(FForm), screen);
    if (FColor.Get) FStore.WriteString(FSection, ColorKey, ColorToSettingText(FColor.Get()));
}

} // namespace tavrin
