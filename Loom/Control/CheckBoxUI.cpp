#include "Loom/Control/CheckBoxUI.h"

namespace Loom {

const char* CCheckBoxUI::GetClass() const { return "CheckBoxUI"; }

}  // namespace Loom
