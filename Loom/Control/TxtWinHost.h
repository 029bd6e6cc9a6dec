#pragma once
#include <windows.h>
#include <richedit.h>
#include <textserv.h>

namespace Loom {

class CRichEditUI;

// The host side of windowless text services for one rich edit control: it
// answers the services' questions (client rectangle, formats, property
// bits) from the control's settings and carries their requests (caret,
// capture, timers, invalidation, scroll bars) to the control's window and
// paint manager. A COM object: the control holds one reference, and the
// text services are released before it.
class CTxtWinHost final : public ITextHost {
public:
    // Loads the text services and makes a host for them with the control's
    // current settings; nullptr when the library or the services cannot be
    // had (the control then shows nothing of its text).
    static CTxtWinHost* Create(CRichEditUI* owner, const RECT& client);

    ITextServices* GetServices() const { return services_; }
    // Releases the text services and forgets the control; the services
    // must not call back after this.
    void Shutdown();

    void SetClientRect(const RECT& rc);
    void SetPropertyBit(DWORD bit, bool on);
    DWORD GetPropertyBits() const { return propertyBits_; }
    // WS_VSCROLL, WS_HSCROLL, ES_AUTOVSCROLL and ES_AUTOHSCROLL bits.
    void SetScrollBars(DWORD bars) { scrollBars_ = bars; }
    void SetCharFormat(HFONT font, DWORD argb);
    // PFA_LEFT, PFA_CENTER or PFA_RIGHT.
    void SetAlignment(WORD alignment);
    // The caret the services made on the window goes with the focus: the
    // window keeps the keyboard focus when another control takes it.
    void DestroyCaret();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    WINBOOL TxShowScrollBar(INT fnBar, WINBOOL fShow) override;
    WINBOOL TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags) override;
    WINBOOL TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, WINBOOL fRedraw) override;
    WINBOOL TxSetScrollPos(INT fnBar, INT nPos, WINBOOL fRedraw) override;
    void TxInvalidateRect(LPCRECT prc, WINBOOL fMode) override;
    void TxViewChange(WINBOOL fUpdate) override;
    WINBOOL TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) override;
    WINBOOL TxShowCaret(WINBOOL fShow) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT idTimer, UINT uTimeout) override;
    void TxKillTimer(UINT idTimer) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT lprcScroll, LPCRECT lprcClip, HRGN hrgnUpdate, LPRECT lprcUpdate,
                          UINT fuScroll) override;
    void TxSetCapture(WINBOOL fCapture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR hcur, WINBOOL fText) override;
    WINBOOL TxScreenToClient(LPPOINT lppt) override;
    WINBOOL TxClientToScreen(LPPOINT lppt) override;
    HRESULT TxActivate(LONG* plOldState) override;
    HRESULT TxDeactivate(LONG lNewState) override;
    HRESULT TxGetClientRect(LPRECT prc) override;
    HRESULT TxGetViewInset(LPRECT prc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
    COLORREF TxGetSysColor(int nIndex) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* pstyle) override;
    HRESULT TxGetMaxLength(DWORD* plength) override;
    HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
    HRESULT TxGetPasswordChar(TCHAR* pch) override;
    HRESULT TxGetAcceleratorPos(LONG* pcp) override;
    HRESULT TxGetExtent(LPSIZEL lpExtent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* pcf) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* ppf) override;
    HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
    HRESULT TxNotify(DWORD iNotify, void* pv) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC himc) override;
    HRESULT TxGetSelectionBarWidth(LONG* lSelBarWidth) override;

private:
    explicit CTxtWinHost(CRichEditUI* owner);
    ~CTxtWinHost();
    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;

    bool CreateServices();
    HWND Window() const;

    LONG refs_ = 1;
    CRichEditUI* owner_;
    ITextServices* services_ = nullptr;
    RECT client_{0, 0, 0, 0};
    DWORD propertyBits_ = 0;
    DWORD scrollBars_ = 0;
    DWORD maxLength_ = 32767;
    WCHAR passwordChar_ = L'*';
    bool caretCreated_ = false;
    CHARFORMAT2W charFormat_{};
    PARAFORMAT2 paraFormat_{};
};

}  // namespace Loom
