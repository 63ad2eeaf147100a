#pragma once
// The ordered layers of one view. Index 0 is the bottom (painted first, hit-tested last).
//
// The collection owns its layers: Add creates a layer on top, Destroy removes and frees it, and the
// collection's destruction frees the rest, topmost first. Whoever keeps pointers to layers registers
// a destroy observer, which runs before a layer is freed, so no reference outlives its layer.

#include "core/Geometry.h"
#include "core/Input.h"
#include "core/Layer.h"
#include "core/ViewGeometry.h"

#include <functional>
#include <memory>
#include <vector>

namespace tavrin {

class TLayerCollection
{
public:
    using TDestroyObserver = std::function<void(TCustomLayer&)>;
    using TInvalidateHandler = std::function<void(const TRect& viewRect)>;

    TLayerCollection() = default;
    ~TLayerCollection();
    TLayerCollection(const TLayerCollection&) = delete;
    TLayerCollection& operator=(const TLayerCollection&) = delete;

    template <class T, class... Args> T* Add(Args&&... args)
    {
        auto layer = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T* raw = layer.get();
        FLayers.push_back(std::move(layer));
        raw->Changed();
        return raw;
    }

    int Count() const { return static_cast<int>(FLayers.size()); }
    TCustomLayer* Items(int index) const;
    int IndexOf(const TCustomLayer* layer) const;
    bool Contains(const TCustomLayer* layer) const { return IndexOf(layer) >= 0; }

    // Removes and frees the layer; a null or foreign layer is ignored. Ends its pointer capture.
    void Destroy(TCustomLayer* layer);
    void RaiseToTop(TCustomLayer* layer);

    int AddDestroyObserver(TDestroyObserver observer);
    void RemoveDestroyObserver(int id);
    // Expires when the collection is destroyed, so an observer that may outlive it can tell.
    std::weak_ptr<void> LifeToken() const { return FLifeToken; }

    // How image space maps onto the view; set by the view whenever the picture or the zoom changes.
    const TViewGeometry& Geometry() const { return FGeometry; }
    void SetGeometry(const TViewGeometry& geometry);

    // Hit test: the topmost layer that accepts the pointer and contains the point (Visible plays no part).
    TCustomLayer* LayerAt(int x, int y) const;
    TCustomLayer* CapturedLayer() const { return FCaptured; }

    // Pointer routing in view pixels; each returns the layer the event went to, or null.
    TCustomLayer* MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    TCustomLayer* MouseMove(TShiftState shift, int x, int y);
    TCustomLayer* MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    // The pointer shape the last routed event asked for; crDefault means the view's own cursor.
    TCursor PointerShape() const { return FPointerShape; }
    void SetPointerShape(TCursor shape) { FPointerShape = shape; }

    // Called with the view rectangle that needs repainting.
    TInvalidateHandler OnInvalidate;
    void Invalidate(const TRect& viewRect) const;

private:
    std::vector<std::unique_ptr<TCustomLayer>> FLayers;
    std::vector<std::pair<int, TDestroyObserver>> FObservers;
    int FNextObserverId = 1;
    TCustomLayer* FCaptured = nullptr;
    TCursor FPointerShape = TCursor::crDefault;
    TViewGeometry FGeometry;
    std::shared_ptr<void> FLifeToken = std::make_shared<int>(0);
};

} // namespace tavrin
