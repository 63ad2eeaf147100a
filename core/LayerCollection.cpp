#include "core/LayerCollection.h"

#include "core/Layer.h"

#include <algorithm>
#include <climits>

namespace tavrin {

TLayerCollection::~TLayerCollection()
{
    while (!FLayers.empty())
        Destroy(FLayers.back().get());
}

TCustomLayer* TLayerCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return FLayers[static_cast<std::size_t>(index)].get();
}

int TLayerCollection::IndexOf(const TCustomLayer* layer) const
{
    if (!layer)
        return -1;
    for (std::size_t i = 0; i < FLayers.size(); ++i)
        if (FLayers[i].get() == layer)
            return static_cast<int>(i);
    return -1;
}

void TLayerCollection::Destroy(TCustomLayer* layer)
{
    const int index = IndexOf(layer);
    if (index < 0)
        return;
    // Observers may look at the layer (its kind, its place) but it is still whole here.
    const auto observers = FObservers;
    for (const auto& [id, observer] : observers)
        observer(*layer);
    if (FCaptured == layer)
        FCaptured = nullptr;
    layer->Changed();
    FLayers.erase(FLayers.begin() + index);
}

void TLayerCollection::RaiseToTop(TCustomLayer* layer)
{
    const int index = IndexOf(layer);
    if (index < 0 || index == Count() - 1)
        return;
    auto owned = std::move(FLayers[static_cast<std::size_t>(index)]);
    FLayers.erase(FLayers.begin() + index);
    FLayers.push_back(std::move(owned));
    layer->Changed();
}

int TLayerCollection::AddDestroyObserver(TDestroyObserver observer)
{
    const int id = FNextObserverId++;
    FObservers.emplace_back(id, std::move(observer));
    return id;
}

void TLayerCollection::RemoveDestroyObserver(int id)
{
    std::erase_if(FObservers, [id](const auto& entry) { return entry.first == id; });
}

void TLayerCollection::SetGeometry(const TViewGeometry& geometry)
{
    FGeometry = geometry;
    Invalidate({INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2});
}

TCustomLayer* TLayerCollection::LayerAt(int x, int y) const
{
    for (auto it = FLayers.rbegin(); it != FLayers.rend(); ++it)
        if ((*it)->AcceptsMouse && (*it)->ContainsPoint(x, y))
            return it->get();
    return nullptr;
}

TCustomLayer* TLayerCollection::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomLayer* target = FCaptured ? FCaptured : LayerAt(x, y);
    if (!target)
        return nullptr;
    FCaptured = target;
    target->FPressed[static_cast<int>(button)] = true;
    target->MouseDown(button, shift, x, y);
    return Contains(target) ? target : nullptr;
}

TCustomLayer* TLayerCollection::MouseMove(TShiftState shift, int x, int y)
{
    TCustomLayer* target = FCaptured ? FCaptured : LayerAt(x, y);
    if (!target) {
        FPointerShape = TCursor::crDefault;
        return nullptr;
    }
    target->MouseMove(shift, x, y);
    return Contains(target) ? target : nullptr;
}

TCustomLayer* TLayerCollection::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomLayer* target = FCaptured ? FCaptured : LayerAt(x, y);
    if (!target)
        return nullptr;
    target->FPressed[static_cast<int>(button)] = false;
    target->MouseUp(button, shift, x, y);
    if (!Contains(target))
        return nullptr;
    if (FCaptured == target && !target->AnyButtonPressed())
        FCaptured = nullptr;
    return target;
}

void TLayerCollection::Invalidate(const TRect& viewRect) const
{
    if (OnInvalidate && !viewRect.IsEmpty())
        OnInvalidate(viewRect);
}

} // namespace tavrin
