#pragma once
#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/LayoutArithmetic.h"

namespace Loom {

// The children of a container as the stacking arithmetic sees them, in fine
// units at the container's scale (FineStackParams).
class CStackChildren : public IStackChildren {
public:
    explicit CStackChildren(CContainerUI& owner) : owner_(owner) {}

    int Count() const override;
    StackChildInfo Info(int index) const override;
    LayoutSize Estimate(int index, LayoutSize available) override;
    void Place(int index, const TRect& rc) override;
    void PlaceFloat(int index) override;

private:
    CContainerUI& owner_;
};

}  // namespace Loom
