#pragma once
#include "Loom/Core/ControlUI.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Layout/TabLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "testkit/ShowcaseText.h"

namespace LoomTest {

// The showcase window: a small settings screen of about 150 controls with
// nested vertical, horizontal and tab layouts, gradients, bordered and
// rounded controls, images from the program's PNG resources (nine-slice
// corners, a sprite cell with a mask colour, alpha) and html text. The
// visible check paints it and saves a screenshot; the paint benchmark
// repaints it.
//
// The PNG resources it names (resource type "PNG"):
constexpr int kShowcaseButtonImage = 301;  // 24x24 button face, rounded, alpha
constexpr int kShowcaseIconsImage = 302;   // four 16x16 cells on magenta
constexpr int kShowcasePanelImage = 303;   // 32x32 white panel, rounded, alpha
constexpr int kShowcaseLogoImage = 304;    // 20x20 round badge, alpha
constexpr int kShowcasePhotoImage = 305;   // 64x48 opaque picture

constexpr int kShowcaseWidth = 759;
constexpr int kShowcaseHeight = 509;

// Controls of the tree the checks look at; the tree itself belongs to
// whoever takes root.
struct ShowcaseTree {
    Loom::CVerticalLayoutUI* root = nullptr;
    Loom::CControlUI* titleBar = nullptr;    // gradient from kTitleTop to kTitleBottom
    Loom::CControlUI* titleGap = nullptr;    // empty: the title bar's gradient shows
    ShowcaseTextUI* title = nullptr;         // white html text
    Loom::CControlUI* sidebar = nullptr;     // rounded, bordered panel
    Loom::CControlUI* deviceIcon = nullptr;  // one sprite cell, magenta masked
    Loom::CControlUI* photo = nullptr;       // the photo drawn 1:1 at its top-left
    Loom::CControlUI* channels = nullptr;    // panel image with 10-pixel corners
    Loom::CControlUI* firstEdit = nullptr;   // white box, 1-pixel border
    Loom::CControlUI* readButton = nullptr;  // button face with 6-pixel corners
    Loom::CTabLayoutUI* pages = nullptr;     // three pages, the first shown
    Loom::CControlUI* secondPage = nullptr;
    ShowcaseTextUI* about = nullptr;           // wrapped html text with one link
    Loom::CControlUI* threeColours = nullptr;  // bkcolor, bkcolor2, bkcolor3
};

// The colours the checks compare with.
constexpr DWORD kShowcaseTitleTop = 0xFF3A73C4;
constexpr DWORD kShowcaseTitleBottom = 0xFF183A6A;
constexpr DWORD kShowcaseSidebarBorder = 0xFF8FA3BD;
constexpr DWORD kShowcaseEditBorder = 0xFF9AA8BA;
constexpr DWORD kShowcasePageColour = 0xFFF3F5F8;
constexpr DWORD kShowcaseSecondPageColour = 0xFFFFF4E0;

// Builds the tree (detached; give root to a manager).
ShowcaseTree BuildShowcase();

// The fonts the showcase's texts use: the default font, 0 bold, 1 small,
// 2 for the Chinese texts. Call it before the tree is first painted: html
// text appends its font variants to the same list.
void PrepareShowcaseManager(Loom::CUIManager& manager);

// The number of controls in a tree (scroll bars not counted).
int CountControls(Loom::CControlUI* root);

}  // namespace LoomTest
