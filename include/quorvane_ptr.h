// quorvane_ptr.h: optional std::unique_ptr ownership for the objects a caller
// releases with destroy() (charts, drawing areas, texts, host drawables), so
// they go at scope end. Header-only, on top of quorvane.h and adding nothing to
// it. Handles a chart hands out (layers, axes, boxes) belong to the chart and
// are never wrapped.

#ifndef QUORVANE_PTR_H
#define QUORVANE_PTR_H

#include <memory>
#include <type_traits>

#include "quorvane.h"

namespace quorvane {

// Releases an object through its destroy(), the only way it may go.
struct Destroyer {
    template <class T>
    void operator()(T *object) const noexcept {
        object->destroy();
    }
};

template <class T>
using Ptr = std::unique_ptr<T, Destroyer>;

// Every chart shares the deleter, so a ChartPtr<XYChart> moves into a
// ChartPtr<BaseChart>.
template <class Chart>
using ChartPtr = Ptr<Chart>;
using AreaPtr = Ptr<DrawArea>;
using TextPtr = Ptr<TTFText>;

// Takes ownership of object (null gives an empty pointer).
template <class T>
Ptr<T> own(T *object) noexcept {
    static_assert(std::is_invocable_v<Destroyer, T *>, "own() needs a type with destroy()");
    return Ptr<T>(object);
}

// The factories, owned. Empty only when memory runs out.
inline AreaPtr makeArea() noexcept { return own(DrawArea::create()); }

inline ChartPtr<XYChart> makeXYChart(int width, int height, int bgColor, int edgeColor) noexcept {
    return own(XYChart::create(width, height, bgColor, edgeColor));
}

inline ChartPtr<PieChart> makePieChart(int width, int height, int bgColor, int edgeColor) noexcept {
    return own(PieChart::create(width, height, bgColor, edgeColor));
}

// Hands a host drawable to chart, which destroys it with itself. When the
// chart cannot take it (out of memory) the object is destroyed here instead;
// either way the caller no longer owns it. Returns it, or null.
template <class T>
T *addDrawObj(BaseChart &chart, Ptr<T> object) noexcept {
    static_assert(std::is_base_of_v<DrawObj, T>, "a chart takes only DrawObj objects");
    if (object == nullptr || chart.addDrawObj(object.get()) == nullptr) return nullptr;
    return object.release();
}

}  // namespace quorvane

#endif  // QUORVANE_PTR_H
