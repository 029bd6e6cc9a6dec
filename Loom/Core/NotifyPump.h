#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Loom/Core/UIManager.h"

namespace Loom {

// Dispatches notifications through a table of (type, virtual-window name,
// handler) entries: an entry with the notification's type and virtual-window
// name wins; an entry with the type and an empty virtual-window name is the
// fallback. A handler takes the whole NotifyMsg or just (wParam, lParam).
class CNotifyPump {
public:
    using MsgHandler = std::function<void(NotifyMsg&)>;
    using ParamHandler = std::function<void(WPARAM, LPARAM)>;

    void AddNotifyHandler(const std::string& type, const std::string& virtualWnd, MsgHandler handler);
    void AddNotifyHandler(const std::string& type, const std::string& virtualWnd, ParamHandler handler);
    // Runs the handler for msg; false if the table has none.
    bool NotifyPump(NotifyMsg& msg);

protected:
    virtual ~CNotifyPump() = default;

private:
    struct Entry {
        std::string type;
        std::string virtualWnd;
        MsgHandler handler;
    };
    std::vector<Entry> entries_;
};

}  // namespace Loom
