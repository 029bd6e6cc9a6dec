// Paint benchmark: the showcase window (759 x 509, about 150 controls:
// layouts, images with corners, gradients, rounded borders, text) laid out
// and repainted whole many times. A repaint is what the window does on
// WM_PAINT: the whole tree into the off-screen bitmap, then its copy to the
// window. Before the last line it prints where a repaint's time goes, phase
// by phase over every visible control.
//
// Then the program's main window, built in this process over a port map and
// settings of the benchmark's own, repainted whole the same way: the whole
// client area invalidated and painted at once, as often as the showcase.
// Its pixels after the repaints are written to main-window.png beside the
// benchmark, with a checksum printed, so that a change to the painting can
// be checked to draw the same window. Then the same at 144 DPI (150 %, a
// window of 2.25 times the pixels), reached as a move to a monitor of that
// scale reaches it, and its figure over the 96-DPI one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <functional>
#include <memory>
#include <vector>

#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/WindowDpi.h"
#include "Loom/Render/Render.h"
#include "app/DlgMain.h"
#include "bench/BenchSupport.h"
#include "testkit/LoomTestWindow.h"
#include "testkit/RenderTestPng.h"
#include "testkit/Showcase.h"

using namespace Loom;
using namespace LoomTest;

namespace {

constexpr int kLayoutRuns = 300;
constexpr int kRepaintRuns = 500;
constexpr int kProfileRuns = 40;

void CollectVisible(CControlUI* control, std::vector<CControlUI*>& out) {
    if (!control->IsVisible()) return;
    out.push_back(control);
    auto* container = static_cast<IContainerUI*>(control->GetInterface("IContainer"));
    if (container == nullptr) return;
    for (int i = 0; i < container->GetCount(); ++i) CollectVisible(container->GetItemAt(i), out);
}

// Timings of runs calls of step, each after a call of before (not timed).
std::vector<double> Sample(int runs, const std::function<void()>& before, const std::function<void()>& step) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        before();
        const double start = NowMs();
        step();
        ms.push_back(NowMs() - start);
    }
    return ms;
}

double Median(int runs, const std::function<void()>& before, const std::function<void()>& step) {
    return Percentile(Sample(runs, before, step), 0.5);
}

void PrintSpread(const char* what, const std::vector<double>& ms) {
    std::printf("%s: median %.3f ms, best %.3f ms, 90th percentile %.3f ms over %zu runs\n", what, Percentile(ms, 0.5),
                Percentile(ms, 0.0), Percentile(ms, 0.9), ms.size());
}

// One paint phase over every visible control, as the tree's DoPaint runs it.
struct Phase {
    const char* name;
    std::function<bool(CControlUI*)> applies;
    std::function<void(HDC, CControlUI*)> paint;
};

bool IsText(CControlUI* c, bool html) {
    auto* text = dynamic_cast<ShowcaseTextUI*>(c);
    return text != nullptr && !text->GetText().empty() && text->IsHtml() == html;
}

std::vector<Phase> Phases() {
    auto round = [](CControlUI* c) { return c->GetBorderRound().cx > 0 || c->GetBorderRound().cy > 0; };
    return {
        {"bkcolor", [](CControlUI* c) { return c->GetBkColor() != 0; },
         [](HDC dc, CControlUI* c) { c->PaintBkColor(dc); }},
        {"bkimage", [](CControlUI* c) { return !c->GetBkImage().empty(); },
         [](HDC dc, CControlUI* c) { c->PaintBkImage(dc); }},
        {"html_text", [](CControlUI* c) { return IsText(c, true); }, [](HDC dc, CControlUI* c) { c->PaintText(dc); }},
        {"plain_text", [](CControlUI* c) { return IsText(c, false); }, [](HDC dc, CControlUI* c) { c->PaintText(dc); }},
        {"border", [](CControlUI* c) { return c->GetBorderColor() != 0; },
         [](HDC dc, CControlUI* c) { c->PaintBorder(dc); }},
        {"round_clip", round,
         [](HDC dc, CControlUI* c) {
             const RECT& p = c->GetPos();
             CRenderClip clip = CRenderClip::ClipToRoundRect(dc, p, p, c->GetBorderRound().cx, c->GetBorderRound().cy);
         }},
        {"container_clips", [](CControlUI* c) { return c->GetInterface("IContainer") != nullptr; },
         [](HDC dc, CControlUI* c) {
             CRenderClip outer = CRenderClip::ClipToRect(dc, c->GetPos());
             CRenderClip inner = CRenderClip::ClipToRect(dc, static_cast<CContainerUI*>(c)->GetClientArea());
         }},
    };
}

// What a control paints, for the list of the slowest ones.
std::string Describe(CControlUI* c) {
    std::string d = c->GetClass();
    if (c->GetBkColor2() != 0)
        d += " gradient";
    else if (c->GetBkColor() != 0)
        d += (c->GetBkColor() >> 24) == 0xFF ? " colour" : " translucent";
    if (!c->GetBkImage().empty()) d += " image";
    if (c->GetBorderRound().cx > 0) d += " rounded";
    if (c->GetBorderColor() != 0) d += " border";
    if (auto* text = dynamic_cast<ShowcaseTextUI*>(c)) d += text->IsHtml() ? " html" : " text";
    const RECT& p = c->GetPos();
    return d + " " + std::to_string(p.right - p.left) + "x" + std::to_string(p.bottom - p.top);
}

// Each control's own painting (without its children), slowest first.
void PrintSlowest(const std::vector<CControlUI*>& visible, HDC dc, const RECT& client, size_t count) {
    std::vector<std::pair<double, CControlUI*>> costs;
    for (CControlUI* c : visible) {
        costs.emplace_back(Median(
                               kProfileRuns, [] {}, [&] { c->CControlUI::DoPaint(dc, client); }),
                           c);
    }
    std::sort(costs.begin(), costs.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::printf("the slowest controls (own painting, without children):\n");
    for (size_t i = 0; i < count && i < costs.size(); ++i) {
        std::printf("  %7.3f ms  %s\n", costs[i].first, Describe(costs[i].second).c_str());
    }
}

void PrintProfile(CControlUI* root, HWND wnd) {
    std::vector<CControlUI*> visible;
    CollectVisible(root, visible);
    const RECT client{0, 0, kShowcaseWidth, kShowcaseHeight};
    PixelSurface surface(kShowcaseWidth, kShowcaseHeight);
    // Each control's paint rectangle is set by its own DoPaint.
    for (CControlUI* c : visible) c->CControlUI::DoPaint(surface.dc(), client);
    double sum = 0;
    for (const Phase& phase : Phases()) {
        std::vector<CControlUI*> subset;
        for (CControlUI* c : visible)
            if (phase.applies(c)) subset.push_back(c);
        const double ms = Median(
            kProfileRuns, [] {},
            [&] {
                for (CControlUI* c : subset) phase.paint(surface.dc(), c);
            });
        sum += ms;
        std::printf("  %-16s %3zu controls  %7.3f ms\n", phase.name, subset.size(), ms);
    }
    const double tree = Median(
        kProfileRuns, [] {}, [&] { root->DoPaint(surface.dc(), client); });
    WindowDC windowDC(wnd);
    const double blit = Median(
        kProfileRuns, [] {},
        [&] {
            ::BitBlt(windowDC.get(), 0, 0, kShowcaseWidth, kShowcaseHeight, surface.dc(), 0, 0, SRCCOPY);
            ::GdiFlush();
        });
    std::printf("  %-16s               %7.3f ms (sum of the phases)\n", "phases", sum);
    std::printf("  %-16s               %7.3f ms (root DoPaint into a DIB section)\n", "tree", tree);
    std::printf("  %-16s               %7.3f ms (759 x 509 to the window)\n", "copy", blit);
    PrintSlowest(visible, surface.dc(), client, 8);
}

// The main window's places in the registry: one port, and settings that
// start empty (the first start: Chinese, the first port).
constexpr const char* kBenchPortMapKey = "Software\\VelmoraBench\\SerialMap";
constexpr const char* kBenchSettingsKey = "Software\\VelmoraBench\\Settings";

bool WriteBenchPlaces() {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kBenchSettingsKey);
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kBenchPortMapKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const char port[] = "COM1";
    const LONG written =
        ::RegSetValueExA(key, "\\Device\\Serial0", 0, REG_SZ, reinterpret_cast<const BYTE*>(port), sizeof port);
    ::RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

// The window's client area as a PNG beside the benchmark; returns a checksum
// (FNV-1a) of its pixels.
uint32_t SaveMainWindow(HWND wnd, const std::string& name) {
    RECT rc{};
    ::GetClientRect(wnd, &rc);
    PixelSurface shot(rc.right, rc.bottom);
    CaptureClient(wnd, shot);
    std::vector<uint32_t> argb(static_cast<size_t>(rc.right) * rc.bottom);
    uint32_t hash = 2166136261u;
    for (int y = 0; y < rc.bottom; ++y) {
        for (int x = 0; x < rc.right; ++x) {
            const DWORD rgb = shot.At(x, y);
            argb[static_cast<size_t>(y) * rc.right + x] = 0xFF000000 | rgb;
            for (int shift = 0; shift < 24; shift += 8) hash = (hash ^ ((rgb >> shift) & 0xFF)) * 16777619u;
        }
    }
    const std::string path = std::string("Z:") + VELMORA_BENCH_SHOT_DIR + "/" + name;
    if (!RenderTestPng::Write(path, RenderTestPng::Encode(rc.right, rc.bottom, argb))) {
        std::fprintf(stderr, "paint: cannot write %s\n", path.c_str());
    }
    return hash;
}

// The main window's full repaint at dpi, median in ms; negative when the
// window could not be made.
double MeasureMainRepaint(int dpi) {
    if (!WriteBenchPlaces()) {
        std::fprintf(stderr, "paint: cannot write the port map\n");
        return -1;
    }
    auto window = std::make_unique<DlgMain>(MainWindowPlaces{kBenchPortMapKey, kBenchSettingsKey});
    if (window->Create(nullptr, "main", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0x00060000, 0, 0, 670, 444) == nullptr) {
        std::fprintf(stderr, "paint: no main window\n");
        return -1;
    }
    const HWND wnd = window->GetHWND();
    if (dpi != DpiScale::kBaseDpi) {
        const DpiScale scale(dpi);
        RECT suggested{0, 0, scale.Scale(DlgMain::kDesignWidth), scale.Scale(DlgMain::kDesignHeight)};
        ::SendMessageW(wnd, kDpiChangedMessage, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    for (int i = 0; i < 5; ++i) {  // laid out, fonts measured, images decoded
        ::InvalidateRect(wnd, nullptr, FALSE);
        ::UpdateWindow(wnd);
        TestWindow::Pump();
    }
    const std::vector<double> repaint = Sample(
        kRepaintRuns, [&] { ::InvalidateRect(wnd, nullptr, FALSE); }, [&] { ::UpdateWindow(wnd); });
    RECT client{};
    ::GetClientRect(wnd, &client);
    const std::string name =
        dpi == DpiScale::kBaseDpi ? "main-window.png" : "main-window-" + std::to_string(dpi) + ".png";
    std::printf("main window at %d DPI: %ld x %ld\n", dpi, client.right, client.bottom);
    PrintSpread("main window repaint", repaint);
    std::printf("main window pixels: checksum %08x (%s)\n", SaveMainWindow(wnd, name), name.c_str());
    window.reset();
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kBenchSettingsKey);
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kBenchPortMapKey);
    return Percentile(repaint, 0.5);
}

}  // namespace

int main() {
    TestWindow window;
    if (!window.Open(kShowcaseWidth, kShowcaseHeight, nullptr)) {
        std::fprintf(stderr, "paint: no window\n");
        return 1;
    }
    PrepareShowcaseManager(window.Manager());
    ShowcaseTree tree = BuildShowcase();
    window.Manager().SetRootControl(tree.root);
    for (int i = 0; i < 5; ++i) window.Paint();  // fonts measured, images decoded, bitmaps made
    const HWND wnd = window.GetHWND();
    std::vector<CControlUI*> visible;
    CollectVisible(tree.root, visible);
    std::printf("controls: %d in the tree, %zu visible\n", CountControls(tree.root), visible.size());

    // A full layout: the root placed again lays out every container below it.
    const RECT client{0, 0, kShowcaseWidth, kShowcaseHeight};
    const std::vector<double> layout = Sample(
        kLayoutRuns, [] {}, [&] { tree.root->SetPos(client); });
    ::ValidateRect(wnd, nullptr);
    PrintSpread("layout", layout);
    // Placing a control invalidates its rectangle; under Wine each
    // invalidation is a round trip to wineserver, whose cost depends on how
    // busy the machine is. The same invalidations alone, for comparison:
    const std::vector<double> invalidations = Sample(
        kLayoutRuns, [] {},
        [&] {
            for (CControlUI* c : visible) ::InvalidateRect(wnd, &c->GetPos(), FALSE);
        });
    ::ValidateRect(wnd, nullptr);
    PrintSpread("  of which its invalidations", invalidations);

    // A full repaint: the whole client area invalid, painted synchronously.
    const std::vector<double> repaint = Sample(
        kRepaintRuns, [&] { ::InvalidateRect(wnd, nullptr, FALSE); }, [&] { ::UpdateWindow(wnd); });
    PrintSpread("repaint", repaint);
    std::printf("where a repaint's time goes (median per pass over the visible controls):\n");
    PrintProfile(tree.root, wnd);
    const double mainRepaint = MeasureMainRepaint(96);
    const double mainRepaint144 = MeasureMainRepaint(144);
    if (mainRepaint < 0 || mainRepaint144 < 0) return 1;
    std::printf(
        "paint: layout_ms=%.3f repaint_ms=%.3f main_repaint_ms=%.3f main_repaint_144_ms=%.3f main_144_over_96=%.2f "
        "arch=%s\n",
        Percentile(layout, 0.5), Percentile(repaint, 0.5), mainRepaint, mainRepaint144, mainRepaint144 / mainRepaint,
        kBenchArch);
    return 0;
}
