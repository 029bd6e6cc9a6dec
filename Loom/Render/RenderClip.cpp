#include <utility>

#include "Loom/Render/Render.h"

namespace Loom {

namespace {

// Clip regions are in device coordinates; the rectangles of the controls
// are logical ones.
RECT ToDevice(HDC dc, const RECT& rc) {
    POINT p[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    ::LPtoDP(dc, p, 2);
    return RECT{p[0].x, p[0].y, p[1].x, p[1].y};
}

}  // namespace

CRenderClip::CRenderClip(CRenderClip&& other) noexcept
    : dc_(std::exchange(other.dc_, nullptr)),
      previous_(std::move(other.previous_)),
      hadClip_(other.hadClip_),
      active_(std::exchange(other.active_, false)) {}

CRenderClip& CRenderClip::operator=(CRenderClip&& other) noexcept {
    if (this != &other) {
        Restore();
        dc_ = std::exchange(other.dc_, nullptr);
        previous_ = std::move(other.previous_);
        hadClip_ = other.hadClip_;
        active_ = std::exchange(other.active_, false);
    }
    return *this;
}

CRenderClip::~CRenderClip() { Restore(); }

void CRenderClip::Select(HDC dc, HRGN region) {
    Restore();
    if (!dc) return;
    UniqueRegion previous(::CreateRectRgn(0, 0, 0, 0));
    if (!previous) return;
    // 1: the DC has a clip region, now copied; 0: it has none.
    const int had = ::GetClipRgn(dc, previous.get());
    if (had < 0) return;
    // A clip narrows the one in force (a child paints only where its parent
    // may): selecting the region alone would let a nested container or a
    // rounded child paint over its parent's inset and border.
    if (had == 1) {
        UniqueRegion narrowed(::CreateRectRgn(0, 0, 0, 0));
        if (!narrowed || ::CombineRgn(narrowed.get(), region, previous.get(), RGN_AND) == ERROR) return;
        if (::SelectClipRgn(dc, narrowed.get()) == ERROR) return;
    } else if (::SelectClipRgn(dc, region) == ERROR) {
        return;
    }
    dc_ = dc;
    hadClip_ = had == 1;
    previous_ = hadClip_ ? std::move(previous) : UniqueRegion();
    active_ = true;
}

void CRenderClip::Restore() {
    if (!active_) return;
    ::SelectClipRgn(dc_, hadClip_ ? previous_.get() : nullptr);
    previous_.reset();
    dc_ = nullptr;
    active_ = false;
}

CRenderClip CRenderClip::ClipToRect(HDC dc, const RECT& rc) {
    CRenderClip clip;
    GenerateClip(dc, rc, clip);
    return clip;
}

CRenderClip CRenderClip::ClipToRoundRect(HDC dc, const RECT& rc, const RECT& round, int cx, int cy) {
    CRenderClip clip;
    GenerateRoundClip(dc, rc, round, cx, cy, clip);
    return clip;
}

void CRenderClip::GenerateClip(HDC dc, const RECT& rc, CRenderClip& clip) {
    clip.Restore();
    if (!dc) return;
    RECT d = ToDevice(dc, rc);
    UniqueRegion region(::CreateRectRgnIndirect(&d));
    if (region) clip.Select(dc, region.get());
}

void CRenderClip::GenerateRoundClip(HDC dc, const RECT& rc, const RECT& round, int cx, int cy, CRenderClip& clip) {
    clip.Restore();
    if (!dc) return;
    RECT d = ToDevice(dc, rc);
    RECT r = ToDevice(dc, round);
    UniqueRegion region(::CreateRectRgnIndirect(&d));
    UniqueRegion rounded(::CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, cx, cy));
    if (!region || !rounded) return;
    ::CombineRgn(region.get(), region.get(), rounded.get(), RGN_AND);
    clip.Select(dc, region.get());
}

}  // namespace Loom
