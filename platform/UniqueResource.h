#pragma once
#include <utility>

// Move-only owner of one resource of the system (a kernel handle, a GDI
// object, a DC, a window). Every owner type is this one template with a
// policy that names the resource's type, the value that means "none" and
// the function that gives it back:
//
//   struct Policy {
//       using Type = HANDLE;
//       static Type Invalid();        // what the creating function fails with
//       static bool Close(Type);      // true when the resource went cleanly
//   };
template <class Policy>
class UniqueResource {
public:
    using Type = typename Policy::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    UniqueResource(UniqueResource&& o) noexcept : value_(o.release()) {}
    UniqueResource& operator=(UniqueResource&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Type get() const { return value_; }
    bool valid() const { return value_ != Policy::Invalid(); }
    explicit operator bool() const { return valid(); }
    // Gives up the ownership without closing.
    Type release() { return std::exchange(value_, Policy::Invalid()); }
    // Closes what is held and takes `value`; true when nothing was held or
    // it closed cleanly.
    bool reset(Type value = Policy::Invalid()) {
        bool ok = true;
        if (valid()) ok = Policy::Close(value_);
        value_ = value;
        return ok;
    }

private:
    Type value_ = Policy::Invalid();
};
