#include "Loom/Core/EventSource.h"

#include <algorithm>

namespace Loom {

namespace {
using Function = bool (*)(void*);
using ContextFunction = bool (*)(void*, void*);
}  // namespace

CDelegate CDelegate::Make(bool (*fn)(void*)) {
    CDelegate d;
    d.thunk_ = &CallFunction;
    std::memcpy(d.method_, &fn, sizeof(fn));
    return d;
}

CDelegate CDelegate::Make(void* context, bool (*fn)(void*, void*)) {
    CDelegate d;
    d.object_ = context;
    d.thunk_ = &CallContextFunction;
    std::memcpy(d.method_, &fn, sizeof(fn));
    return d;
}

bool CDelegate::CallFunction(const CDelegate& d, void* param) {
    Function fn;
    std::memcpy(&fn, d.method_, sizeof(fn));
    return fn(param);
}

bool CDelegate::CallContextFunction(const CDelegate& d, void* param) {
    ContextFunction fn;
    std::memcpy(&fn, d.method_, sizeof(fn));
    return fn(d.object_, param);
}

bool CDelegate::operator==(const CDelegate& o) const {
    return object_ == o.object_ && thunk_ == o.thunk_ && std::memcmp(method_, o.method_, kMethodBytes) == 0;
}

void CEventSource::Add(const CDelegate& d) {
    if (std::find(delegates_.begin(), delegates_.end(), d) == delegates_.end()) delegates_.push_back(d);
}

void CEventSource::Remove(const CDelegate& d) {
    auto it = std::find(delegates_.begin(), delegates_.end(), d);
    if (it != delegates_.end()) delegates_.erase(it);
}

CEventSource::~CEventSource() { *alive_ = false; }

bool CEventSource::Invoke(void* param) const {
    if (delegates_.empty()) return true;
    const std::vector<CDelegate> snapshot = delegates_;
    const std::shared_ptr<bool> alive = alive_;
    for (size_t i = 0; i < snapshot.size(); ++i) {
        const CDelegate& d = snapshot[i];
        // Still listed? Most walks change nothing: the same slot holds it.
        const bool listed = (i < delegates_.size() && delegates_[i] == d) ||
                            std::find(delegates_.begin(), delegates_.end(), d) != delegates_.end();
        if (!listed) continue;
        if (!d(param)) return false;
        if (!*alive) return false;  // the owner is gone: nothing may touch it
    }
    return true;
}

}  // namespace Loom
