#pragma once
#include "Loom/Control/ListInterfaces.h"

namespace Loom {

// Reads one of the item-look attributes a list owner takes ("itemfont",
// "itemalign", "itemtextpadding", the item colours and images, "itemaltbk",
// "itemshowhtml") into info. False, with info untouched, for any other name.
// "itemalign" looks for "left", "center" and "right" in its value (right
// over center over left when it names several) and keeps the current
// alignment when it names none.
bool SetListInfoAttribute(TListInfoUI& info, const char* name, const char* value);

}  // namespace Loom
