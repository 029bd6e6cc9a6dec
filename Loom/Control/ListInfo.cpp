#include "Loom/Control/ListInfo.h"

#include <cstring>

#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

void SetAlign(TListInfoUI& info, const char* value) {
    const UINT horizontal = DT_LEFT | DT_CENTER | DT_RIGHT;
    if (std::strstr(value, "left") != nullptr) info.textStyle = (info.textStyle & ~horizontal) | DT_LEFT;
    if (std::strstr(value, "center") != nullptr) info.textStyle = (info.textStyle & ~horizontal) | DT_CENTER;
    if (std::strstr(value, "right") != nullptr) info.textStyle = (info.textStyle & ~horizontal) | DT_RIGHT;
}

bool SetColor(TListInfoUI& info, const char* name, const char* value) {
    struct Entry {
        const char* name;
        DWORD TListInfoUI::*field;
    };
    static const Entry kColors[] = {
        {"itemtextcolor", &TListInfoUI::textColor},
        {"itembkcolor", &TListInfoUI::bkColor},
        {"itemselectedtextcolor", &TListInfoUI::selectedTextColor},
        {"itemselectedbkcolor", &TListInfoUI::selectedBkColor},
        {"itemhottextcolor", &TListInfoUI::hotTextColor},
        {"itemhotbkcolor", &TListInfoUI::hotBkColor},
        {"itemdisabledtextcolor", &TListInfoUI::disabledTextColor},
        {"itemdisabledbkcolor", &TListInfoUI::disabledBkColor},
        {"itemlinecolor", &TListInfoUI::lineColor},
    };
    for (const Entry& e : kColors) {
        if (!Is(name, e.name)) continue;
        info.*e.field = ValueReaders::ReadColor(value);
        return true;
    }
    return false;
}

bool SetImage(TListInfoUI& info, const char* name, const char* value) {
    std::string* target = Is(name, "itembkimage")         ? &info.bkImage
                          : Is(name, "itemselectedimage") ? &info.selectedImage
                          : Is(name, "itemhotimage")      ? &info.hotImage
                          : Is(name, "itemdisabledimage") ? &info.disabledImage
                                                          : nullptr;
    if (target == nullptr) return false;
    *target = value;
    return true;
}

}  // namespace

bool SetListInfoAttribute(TListInfoUI& info, const char* name, const char* value) {
    if (Is(name, "itemfont")) {
        info.font = ValueReaders::ReadInt(value);
    } else if (Is(name, "itemalign")) {
        SetAlign(info, value);
    } else if (Is(name, "itemtextpadding")) {
        int v[4] = {0, 0, 0, 0};
        ValueReaders::ReadNumberList(value, v, 4);
        info.textPadding = RECT{v[0], v[1], v[2], v[3]};
    } else if (Is(name, "itemaltbk")) {
        info.alternateBk = ValueReaders::ReadBool(value);
    } else if (Is(name, "itemshowhtml")) {
        info.showHtml = ValueReaders::ReadBool(value);
    } else {
        return SetImage(info, name, value) || SetColor(info, name, value);
    }
    return true;
}

}  // namespace Loom
