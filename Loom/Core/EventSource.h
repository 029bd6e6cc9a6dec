#pragma once
#include <cstring>
#include <memory>
#include <vector>

namespace Loom {

// A callable taking one pointer and answering true (go on) or false (stop),
// that can be compared: two delegates are equal when they call the same
// member of the same object (or the same free function with the same context).
class CDelegate {
public:
    // obj->method(param).
    template <typename T>
    static CDelegate Make(T* obj, bool (T::*method)(void*)) {
        using Method = bool (T::*)(void*);
        static_assert(sizeof(Method) <= kMethodBytes, "member pointer too large");
        CDelegate d;
        d.object_ = obj;
        d.thunk_ = &CallMember<T>;
        std::memcpy(d.method_, &method, sizeof(Method));
        return d;
    }
    // fn(param).
    static CDelegate Make(bool (*fn)(void*));
    // fn(context, param): a free function with a context pointer.
    static CDelegate Make(void* context, bool (*fn)(void* context, void* param));

    bool operator()(void* param) const { return thunk_(*this, param); }
    bool operator==(const CDelegate& o) const;
    bool operator!=(const CDelegate& o) const { return !(*this == o); }

private:
    using Thunk = bool (*)(const CDelegate&, void*);
    static constexpr std::size_t kMethodBytes = 4 * sizeof(void*);

    template <typename T>
    static bool CallMember(const CDelegate& d, void* param) {
        bool (T::*method)(void*);
        std::memcpy(&method, d.method_, sizeof(method));
        return (static_cast<T*>(d.object_)->*method)(param);
    }
    static bool CallFunction(const CDelegate& d, void* param);
    static bool CallContextFunction(const CDelegate& d, void* param);

    void* object_ = nullptr;
    Thunk thunk_ = nullptr;
    // The member or function pointer, stored as bytes so that any kind can be
    // compared; unused bytes stay zero.
    unsigned char method_[kMethodBytes] = {};
};

// An ordered list of delegates: one of the five listener lists of a control.
class CEventSource {
public:
    // Appends the delegate unless an equal one is already listed.
    void Add(const CDelegate& d);
    void Remove(const CDelegate& d);
    CEventSource& operator+=(const CDelegate& d) {
        Add(d);
        return *this;
    }
    CEventSource& operator-=(const CDelegate& d) {
        Remove(d);
        return *this;
    }
    bool IsEmpty() const { return delegates_.empty(); }
    std::size_t GetCount() const { return delegates_.size(); }
    void Clear() { delegates_.clear(); }

    // Calls each delegate in order with param and stops at the first that
    // answers false; the result is false then, true otherwise. A delegate
    // may change the list while it runs: the call walks a copy and skips the
    // delegates removed meanwhile (those added are called from the next
    // Invoke on). A delegate may also destroy the list's owner: the walk
    // then ends at once with false, so that the owner is not used further.
    bool Invoke(void* param) const;
    bool operator()(void* param) const { return Invoke(param); }

    CEventSource() = default;
    ~CEventSource();
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;

private:
    std::vector<CDelegate> delegates_;
    // Cleared when the list dies, so that a walk in progress can tell.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace Loom
