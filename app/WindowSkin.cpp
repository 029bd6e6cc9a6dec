#include "app/WindowSkin.h"

namespace {

// The vertical scroll bar's pictures are cells of 16 x 16 pixels on one
// sheet: a row per part, a column per state, 18 pixels apart.
constexpr const char* kParts[] = {"button1", "button2", "thumb", "rail", "bk"};
constexpr const char* kStates[] = {"normal", "hot", "pushed", "disabled"};
constexpr int kFirstPartWithCorners = 2;  // thumb, rail and background stretch

std::string ScrollBarImage(int part, int state) {
    const int left = 18 * state;
    const int top = 90 + 18 * part;
    std::string image = "res='159' restype='png' source='" + std::to_string(left) + "," + std::to_string(top) + "," +
                        std::to_string(left + 16) + "," + std::to_string(top + 16) + "'";
    if (part >= kFirstPartWithCorners) image += " corner='2,2,2,2'";
    return image + " mask='#FFFF00FF'";
}

// The attribute list of the default vertical scroll bar, its quotes written
// as entities because it is itself an attribute value.
std::string ScrollBarDefaults() {
    std::string list;
    for (int part = 0; part < 5; ++part) {
        for (int state = 0; state < 4; ++state) {
            if (!list.empty()) list += ' ';
            list +=
                std::string(kParts[part]) + kStates[state] + "image=&quot;" + ScrollBarImage(part, state) + "&quot;";
        }
    }
    return list;
}

}  // namespace

std::string BuildWindowSkin(int designWidth, int designHeight) {
    std::string skin = "<Window caption=\"0,0,0,36\" roundcorner=\"5,5\" ";
    skin += " size=\"" + std::to_string(designWidth) + "," + std::to_string(designHeight) + "\" ";
    skin += "sizebox=\"6,6,6,6\" defaultfontcolor=\"#FF386382\">";
    skin += "<Font name=\"微软雅黑\" size=\"12\" default=\"true\" />";
    skin += "<Font name=\"微软雅黑\" size=\"13\" bold=\"true\" />";
    skin += "<Font name=\"微软雅黑\" size=\"11\" />";
    skin += "<Default name=\"VScrollBar\" value=\"" + ScrollBarDefaults() + "\" />";
    skin +=
        "<VerticalLayout name=\"main\" inset=\"2,2,2,2\" bkcolor=\"#FFD1E8F5\" bkcolor2=\"#FFC6E0F1\" "
        "bordersize=\"2\" bordercolor=\"#FF768D9B\" />";
    skin += "</Window>";
    return skin;
}
