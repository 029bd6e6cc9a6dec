// The item look a combo and a list read from their item attributes.
#include <gtest/gtest.h>

#include "Loom/Control/ListInfo.h"
#include "Loom/Control/ListUI.h"

using namespace Loom;

namespace {

UINT Horizontal(UINT style) { return style & (DT_LEFT | DT_CENTER | DT_RIGHT); }

TEST(ListInfo, ItemAlign_NamedAlignmentsReplaceEachOther_OtherTextKeepsIt) {
    TListInfoUI info;
    ASSERT_TRUE(SetListInfoAttribute(info, "itemalign", "center"));
    EXPECT_EQ(Horizontal(info.textStyle), static_cast<UINT>(DT_CENTER));
    SetListInfoAttribute(info, "itemalign", "right");
    EXPECT_EQ(Horizontal(info.textStyle), static_cast<UINT>(DT_RIGHT));
    // A value naming no alignment leaves the current one.
    SetListInfoAttribute(info, "itemalign", "top");
    EXPECT_EQ(Horizontal(info.textStyle), static_cast<UINT>(DT_RIGHT));
    // Never two alignments at once.
    SetListInfoAttribute(info, "itemalign", "center right");
    EXPECT_EQ(Horizontal(info.textStyle), static_cast<UINT>(DT_RIGHT));
    SetListInfoAttribute(info, "itemalign", "left");
    EXPECT_EQ(Horizontal(info.textStyle), static_cast<UINT>(DT_LEFT));
    // The vertical centring is not an alignment the attribute touches.
    EXPECT_NE(info.textStyle & DT_VCENTER, 0u);
}

TEST(ListInfo, ItemAttributes_LandInTheirFields_ShortPaddingFillsWithZero) {
    TListInfoUI info;
    EXPECT_TRUE(SetListInfoAttribute(info, "itemhotbkcolor", "#FF102030"));
    EXPECT_TRUE(SetListInfoAttribute(info, "itemlinecolor", "#FF405060"));
    EXPECT_TRUE(SetListInfoAttribute(info, "itemdisabledimage", "off.bmp"));
    EXPECT_TRUE(SetListInfoAttribute(info, "itemtextpadding", "1,2,3"));
    EXPECT_EQ(info.hotBkColor, 0xFF102030u);
    EXPECT_EQ(info.lineColor, 0xFF405060u);
    EXPECT_EQ(info.disabledImage, "off.bmp");
    EXPECT_EQ(info.bkImage, "");
    EXPECT_EQ(info.textPadding.left, 1);
    EXPECT_EQ(info.textPadding.bottom, 0);
}

TEST(ListInfo, OtherNames_AreRefused_InfoUntouched) {
    TListInfoUI info;
    // The list's own item attribute is not part of the shared look.
    EXPECT_FALSE(SetListInfoAttribute(info, "itemendellipsis", "true"));
    EXPECT_FALSE(SetListInfoAttribute(info, "textcolor", "#FF0000FF"));
    EXPECT_EQ(info.textStyle, TListInfoUI{}.textStyle);
    EXPECT_EQ(info.textColor, TListInfoUI{}.textColor);
}

TEST(ListInfo, List_EndEllipsisSurvivesAlignment) {
    CListUI list;
    list.SetAttribute("itemendellipsis", "true");
    list.SetAttribute("itemalign", "center");
    const UINT style = list.GetListInfo()->textStyle;
    EXPECT_NE(style & DT_END_ELLIPSIS, 0u);
    EXPECT_EQ(Horizontal(style), static_cast<UINT>(DT_CENTER));
}

}  // namespace
