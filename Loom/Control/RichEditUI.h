#pragma once
#include <string>

#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

class CTxtWinHost;

// A text editor drawn by the windowless text services of the system's rich
// edit library, hosted by CTxtWinHost. The services are made when the
// control is first attached to a window's manager; until then, and for good
// if the library is missing, the control keeps its text itself and shows
// only its background. While focused it hands the window's keyboard
// messages to the services; Return sends "return" unless the editor is
// multi-line and wants it (Ctrl+Return likewise with "wantctrlreturn").
class CRichEditUI : public CContainerUI, public IMessageFilterUI {
public:
    CRichEditUI();
    ~CRichEditUI() override;

    const char* GetClass() const override;
    // "RichEdit"; "WantTab" as well while the editor takes the Tab key, so
    // that the manager does not move the focus on it.
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override;
    void DoInit() override;
    void SetManager(CUIManager* manager, CControlUI* parent, bool init = true) override;

    std::string GetText() const override;
    void SetText(const std::string& text) override;
    bool HasTextServices() const;

    void SetPos(RECT rc) override;
    void DoPaint(HDC dc, const RECT& dirty) override;
    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // The scroll bars follow the services; the bars' own requests go back
    // to the services as scroll messages.
    void SetScrollPos(SIZE pos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;

    bool IsWantTab() const { return wantTab_; }
    bool IsMultiLine() const { return multiline_; }
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    void SetFont(int index);
    void SetTextColor(DWORD argb);

    // Called by the host.
    void ApplySettings(CTxtWinHost& host) const;
    void OnTextScrollChanged();

private:
    // The text colour, or the window text while high contrast is on; kept
    // as the colour the text is formatted in.
    DWORD ShownTextColor() const;
    RECT TextRect() const;
    void PlaceScrollBars();
    bool WantsReturn() const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void ForwardMouse(UIEvent& event);
    void SetPropertyBit(DWORD bit, bool on, bool& field);
    void UpdateScrollStyle();
    void UpdateCharFormat();
    bool SetFlagAttribute(const char* name, const char* value);

    CTxtWinHost* host_ = nullptr;
    bool filterAdded_ = false;
    bool vscroll_ = false;
    bool autoVScroll_ = false;
    bool hscroll_ = false;
    bool autoHScroll_ = false;
    bool wantTab_ = false;
    bool wantReturn_ = false;
    bool wantCtrlReturn_ = false;
    bool rich_ = true;
    bool multiline_ = true;
    bool readOnly_ = false;
    bool password_ = false;
    WORD alignment_ = 1;  // PFA_LEFT
    int font_ = -1;
    DWORD textColor_ = 0xFF000000;
    mutable DWORD shownTextColor_ = 0xFF000000;  // the colour the text is formatted in
};

}  // namespace Loom
