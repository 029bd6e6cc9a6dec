#include "Loom/Core/NotifyPump.h"

namespace Loom {

void CNotifyPump::AddNotifyHandler(const std::string& type, const std::string& virtualWnd, MsgHandler handler) {
    if (handler) entries_.push_back(Entry{type, virtualWnd, std::move(handler)});
}

void CNotifyPump::AddNotifyHandler(const std::string& type, const std::string& virtualWnd, ParamHandler handler) {
    if (!handler) return;
    AddNotifyHandler(type, virtualWnd,
                     MsgHandler([h = std::move(handler)](NotifyMsg& msg) { h(msg.wParam, msg.lParam); }));
}

bool CNotifyPump::NotifyPump(NotifyMsg& msg) {
    const Entry* fallback = nullptr;
    const Entry* exact = nullptr;
    for (const Entry& e : entries_) {
        if (e.type != msg.type) continue;
        if (e.virtualWnd == msg.virtualWnd) {
            exact = &e;
            break;
        }
        if (e.virtualWnd.empty() && fallback == nullptr) fallback = &e;
    }
    const Entry* chosen = exact != nullptr ? exact : fallback;
    if (chosen == nullptr) return false;
    // A copy: the handler may add entries while it runs.
    const MsgHandler handler = chosen->handler;
    handler(msg);
    return true;
}

}  // namespace Loom
