#include "Loom/Control/TxtWinHost.h"

#include <imm.h>

#include <cstdlib>
#include <cwchar>

#include "Loom/Control/RichEditUI.h"
#include "platform/GdiHandles.h"
#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "platform/LateLibrary.h"

namespace Loom {

namespace {

// The interface identifiers as the library publishes them; these values
// stand in when it does not export them.
const IID kTextServicesIid = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
const IID kTextHostIid = {0x13e670f4, 0x1a5a, 0x11cf, {0xab, 0xeb, 0x00, 0xaa, 0x00, 0xb6, 0x5e, 0xa1}};

// Loaded once and never freed: text services created from it may live
// until any moment, and the library must outlive them all.
HMODULE TextServicesLibrary() {
    static const HMODULE module = LoadSystemLibrary("msftedit.dll");
    return module;
}

const IID& ExportedIid(const char* name, const IID& fallback) {
    const auto* exported = LibraryFunction<const IID*>(TextServicesLibrary(), name);
    return exported != nullptr ? *exported : fallback;
}

}  // namespace

CTxtWinHost::CTxtWinHost(CRichEditUI* owner) : owner_(owner) {
    charFormat_.cbSize = sizeof(CHARFORMAT2W);
    paraFormat_.cbSize = sizeof(PARAFORMAT2);
    paraFormat_.dwMask = PFM_ALL;
    paraFormat_.wAlignment = PFA_LEFT;
    paraFormat_.cTabCount = 1;
    paraFormat_.rgxTabs[0] = lDefaultTab;
}

CTxtWinHost::~CTxtWinHost() = default;

CTxtWinHost* CTxtWinHost::Create(CRichEditUI* owner, const RECT& client) {
    auto* host = new CTxtWinHost(owner);
    host->client_ = client;
    owner->ApplySettings(*host);
    if (!host->CreateServices()) {
        host->Shutdown();
        host->Release();
        return nullptr;
    }
    host->services_->OnTxInPlaceActivate(&host->client_);
    return host;
}

bool CTxtWinHost::CreateServices() {
    const auto create = LibraryFunction<PCreateTextServices>(TextServicesLibrary(), "CreateTextServices");
    if (create == nullptr) return false;
    IUnknown* unknown = nullptr;
    if (FAILED(create(nullptr, this, &unknown)) || unknown == nullptr) return false;
    const HRESULT hr = unknown->QueryInterface(ExportedIid("IID_ITextServices", kTextServicesIid),
                                               reinterpret_cast<void**>(&services_));
    unknown->Release();
    if (FAILED(hr)) services_ = nullptr;
    return services_ != nullptr;
}

void CTxtWinHost::Shutdown() {
    if (services_ != nullptr) {
        services_->OnTxInPlaceDeactivate();
        ITextServices* services = services_;
        services_ = nullptr;
        services->Release();
    }
    DestroyCaret();
    owner_ = nullptr;
}

HWND CTxtWinHost::Window() const {
    CUIManager* manager = owner_ != nullptr ? owner_->GetManager() : nullptr;
    return manager != nullptr ? manager->GetPaintWindow() : nullptr;
}

void CTxtWinHost::SetClientRect(const RECT& rc) {
    client_ = rc;
    if (services_ != nullptr) services_->OnTxPropertyBitsChange(TXTBIT_CLIENTRECTCHANGE, TXTBIT_CLIENTRECTCHANGE);
}

void CTxtWinHost::SetPropertyBit(DWORD bit, bool on) {
    propertyBits_ = on ? propertyBits_ | bit : propertyBits_ & ~bit;
    if (services_ != nullptr) services_->OnTxPropertyBitsChange(bit, propertyBits_ & bit);
}

void CTxtWinHost::SetCharFormat(HFONT font, DWORD argb) {
    LOGFONTW lf{};
    if (font == nullptr || ::GetObjectW(font, sizeof(lf), &lf) == 0) return;
    int dpi = 96;
    {
        WindowDC screen(nullptr);
        if (screen.get() != nullptr) dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    charFormat_.dwMask =
        CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    // Twips: 1440 to the inch.
    charFormat_.yHeight = dpi > 0 ? std::labs(lf.lfHeight) * 1440 / dpi : 200;
    charFormat_.yOffset = 0;
    charFormat_.crTextColor = CRenderer::ToColorRef(argb);
    charFormat_.dwEffects =
        (lf.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (lf.lfItalic ? CFE_ITALIC : 0) | (lf.lfUnderline ? CFE_UNDERLINE : 0);
    charFormat_.bCharSet = lf.lfCharSet;
    charFormat_.bPitchAndFamily = lf.lfPitchAndFamily;
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    std::wcscpy(charFormat_.szFaceName, lf.lfFaceName);
    if (services_ != nullptr) services_->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetAlignment(WORD alignment) {
    paraFormat_.wAlignment = alignment;
    if (services_ != nullptr) services_->OnTxPropertyBitsChange(TXTBIT_PARAFORMATCHANGE, TXTBIT_PARAFORMATCHANGE);
}

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, ExportedIid("IID_ITextHost", kTextHostIid))) {
        *object = static_cast<ITextHost*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG STDMETHODCALLTYPE CTxtWinHost::Release() {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HDC CTxtWinHost::TxGetDC() { return ::GetDC(Window()); }

INT CTxtWinHost::TxReleaseDC(HDC hdc) { return ::ReleaseDC(::WindowFromDC(hdc), hdc); }

// The scroll bars are the control's own; it reads the services' scroll
// state whenever the services change it.
WINBOOL CTxtWinHost::TxShowScrollBar(INT /*fnBar*/, WINBOOL /*fShow*/) {
    if (owner_ != nullptr) owner_->OnTextScrollChanged();
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT /*fuSBFlags*/, INT /*fuArrowflags*/) { return TRUE; }

WINBOOL CTxtWinHost::TxSetScrollRange(INT /*fnBar*/, LONG /*nMinPos*/, INT /*nMaxPos*/, WINBOOL /*fRedraw*/) {
    if (owner_ != nullptr) owner_->OnTextScrollChanged();
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT /*fnBar*/, INT /*nPos*/, WINBOOL /*fRedraw*/) {
    if (owner_ != nullptr) owner_->OnTextScrollChanged();
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT prc, WINBOOL /*fMode*/) {
    if (owner_ == nullptr) return;
    CUIManager* manager = owner_->GetManager();
    RECT rc = owner_->GetPos();
    if (prc != nullptr && !::IntersectRect(&rc, &rc, prc)) return;
    if (manager != nullptr) manager->Invalidate(rc);
}

void CTxtWinHost::TxViewChange(WINBOOL /*fUpdate*/) {
    if (owner_ != nullptr) owner_->Invalidate();
}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) {
    caretCreated_ = ::CreateCaret(Window(), hbmp, xWidth, yHeight) != FALSE;
    return caretCreated_;
}

void CTxtWinHost::DestroyCaret() {
    if (caretCreated_) ::DestroyCaret();
    caretCreated_ = false;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL fShow) { return fShow ? ::ShowCaret(Window()) : ::HideCaret(Window()); }

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) { return ::SetCaretPos(x, y); }

// The services' timers run as timers of the control, whose timer event
// hands them back.
WINBOOL CTxtWinHost::TxSetTimer(UINT idTimer, UINT uTimeout) {
    CUIManager* manager = owner_ != nullptr ? owner_->GetManager() : nullptr;
    return manager != nullptr && manager->SetTimer(owner_, idTimer, uTimeout);
}

void CTxtWinHost::TxKillTimer(UINT idTimer) {
    CUIManager* manager = owner_ != nullptr ? owner_->GetManager() : nullptr;
    if (manager != nullptr) manager->KillTimer(owner_, idTimer);
}

void CTxtWinHost::TxScrollWindowEx(INT /*dx*/, INT /*dy*/, LPCRECT /*lprcScroll*/, LPCRECT /*lprcClip*/,
                                   HRGN /*hrgnUpdate*/, LPRECT /*lprcUpdate*/, UINT /*fuScroll*/) {
    // The window is painted from the control tree: repainting the control
    // is the scroll.
    if (owner_ != nullptr) owner_->Invalidate();
}

void CTxtWinHost::TxSetCapture(WINBOOL fCapture) {
    CUIManager* manager = owner_ != nullptr ? owner_->GetManager() : nullptr;
    if (manager == nullptr) return;
    if (fCapture) {
        manager->SetCapture();
    } else {
        manager->ReleaseCapture();
    }
}

void CTxtWinHost::TxSetFocus() {
    if (owner_ != nullptr) owner_->SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR hcur, WINBOOL /*fText*/) { ::SetCursor(hcur); }

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT lppt) { return ::ScreenToClient(Window(), lppt); }

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT lppt) { return ::ClientToScreen(Window(), lppt); }

HRESULT CTxtWinHost::TxActivate(LONG* plOldState) {
    if (plOldState != nullptr) *plOldState = 0;
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG /*lNewState*/) { return S_OK; }

HRESULT CTxtWinHost::TxGetClientRect(LPRECT prc) {
    if (prc == nullptr) return E_INVALIDARG;
    *prc = client_;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT prc) {
    if (prc == nullptr) return E_INVALIDARG;
    *prc = RECT{0, 0, 0, 0};
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** ppCF) {
    if (ppCF == nullptr) return E_INVALIDARG;
    *ppCF = &charFormat_;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** ppPF) {
    if (ppPF == nullptr) return E_INVALIDARG;
    *ppPF = &paraFormat_;
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int nIndex) { return ::GetSysColor(nIndex); }

// Transparent: the control paints its own background first.
HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* pstyle) {
    if (pstyle == nullptr) return E_INVALIDARG;
    *pstyle = TXTBACK_TRANSPARENT;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* plength) {
    if (plength == nullptr) return E_INVALIDARG;
    *plength = maxLength_;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* pdwScrollBar) {
    if (pdwScrollBar == nullptr) return E_INVALIDARG;
    *pdwScrollBar = scrollBars_;
    return S_OK;
}

// The services always ask for a wide character, whatever TCHAR is here.
HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* pch) {
    if (pch == nullptr) return E_INVALIDARG;
    *reinterpret_cast<WCHAR*>(pch) = passwordChar_;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pcp) {
    if (pcp == nullptr) return E_INVALIDARG;
    *pcp = -1;
    return S_OK;
}

// The extent is the client rectangle.
HRESULT CTxtWinHost::TxGetExtent(LPSIZEL /*lpExtent*/) { return E_NOTIMPL; }

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW* /*pcf*/) { return S_OK; }

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT* /*ppf*/) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) {
    if (pdwBits == nullptr) return E_INVALIDARG;
    *pdwBits = propertyBits_ & dwMask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD /*iNotify*/, void* /*pv*/) { return S_OK; }

HIMC CTxtWinHost::TxImmGetContext() { return ::ImmGetContext(Window()); }

void CTxtWinHost::TxImmReleaseContext(HIMC himc) { ::ImmReleaseContext(Window(), himc); }

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* lSelBarWidth) {
    if (lSelBarWidth == nullptr) return E_INVALIDARG;
    *lSelBarWidth = 0;
    return S_OK;
}

}  // namespace Loom
