#pragma once
#include <windows.h>
#include <string>

#include "Loom/Render/DpiScale.h"
#include "Loom/Render/HighContrast.h"

namespace Loom {

// One decoded image: a top-down 32-bit DIB section, blue-green-red-alpha,
// premultiplied. The paint manager owns it and frees the bitmap.
struct TImageInfo {
    HBITMAP hBitmap = nullptr;
    int nX = 0;
    int nY = 0;
    bool alphaChannel = false;
    std::string sResType;
    DWORD dwMask = 0;
};

// What the render engine needs of a window's paint manager: its images,
// fonts and default colours. CUIManager implements it; tests of the render
// engine can use a small implementation of their own.
class IRenderContext {
public:
    // The image under that name, loaded on first use; nullptr if it cannot be.
    // Its size is the one image strings measure in (96 DPI).
    virtual const TImageInfo* FindOrLoadImage(const std::string& name, const std::string& type, DWORD mask) = 0;
    // The same image at the window's scale (its source rectangles are the
    // 96-DPI ones at that scale): at 96 the image itself. nullptr when it
    // cannot be made; the 96-DPI image is then drawn stretched.
    virtual const TImageInfo* FindOrLoadScaledImage(const std::string& name, const std::string& type, DWORD mask) {
        return FindOrLoadImage(name, type, mask);
    }
    // The font of that index in the font list; the default font if out of range.
    virtual HFONT GetFont(int index) = 0;
    // Metrics of a font of this manager (or of the default font if unknown).
    virtual const TEXTMETRICW& GetFontInfo(HFONT font) = 0;
    // A font of that face, size and flags: found in the font list, or added.
    virtual HFONT GetOrAddFont(const std::string& face, int size, bool bold, bool underline, bool italic) = 0;
    // The description of a font of this manager, to derive bold, italic and
    // underlined variants from; false if the font is unknown.
    virtual bool GetFontDescription(HFONT font, std::string& face, int& size, bool& bold, bool& underline,
                                    bool& italic) = 0;
    virtual DWORD GetDefaultLinkFontColor() const = 0;
    virtual DWORD GetDefaultLinkHoverFontColor() const = 0;
    virtual DWORD GetDefaultSelectedBkColor() const = 0;
    // The last mouse position in client coordinates (hovered links).
    virtual POINT GetMousePos() const = 0;
    // The window's display scale, which image strings' dest offsets, source
    // rectangles and corners and the pixel numbers of html text ({x}, {y},
    // {p}) are shown at; 96 DPI unless the context has another.
    virtual const DpiScale& GetScale() const {
        static const DpiScale identity;
        return identity;
    }
    // The system's colours while high contrast is on, nullptr while off:
    // then text, links and selections are drawn in them, whatever colour
    // the skin gave.
    virtual const TContrastColors* GetContrastColors() const { return CHighContrast::Active(); }

protected:
    ~IRenderContext() = default;
};

}  // namespace Loom
