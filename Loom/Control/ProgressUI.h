#pragma once
#include <string>

#include "Loom/Control/LabelUI.h"

namespace Loom {

// A label with a fore image drawn over the part of the control that the
// value fills: from the left (horizontal) or from the bottom (vertical).
// Class "ProgressUI", interface "Progress". Window thread only.
class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    AccessibleTraits GetAccessibleTraits() const override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(HDC dc) override;

    bool IsHorizontal() const { return horizontal_; }
    void SetHorizontal(bool horizontal = true);
    int GetMinValue() const { return min_; }
    void SetMinValue(int value);
    int GetMaxValue() const { return max_; }
    void SetMaxValue(int value);
    int GetValue() const { return value_; }
    // A value outside min..max, or the current one, is ignored.
    void SetValue(int value);
    const std::string& GetForeImage() const { return foreImage_; }
    void SetForeImage(const std::string& image);
    // Stretched: the whole image fills the filled part. Otherwise the filled
    // part shows the same part of the image (the image is as large as the
    // control).
    bool IsStretchForeImage() const { return stretchForeImage_; }
    void SetStretchForeImage(bool stretch = true);

    // The filled part relative to the control's top-left corner: a min not
    // below max counts as max = min + 1, and the value is limited to
    // min..max.
    RECT GetFilledRect() const;

private:
    bool horizontal_ = true;
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    std::string foreImage_;
    bool stretchForeImage_ = true;
};

}  // namespace Loom
