// The dialog builder: markup into controls, resources and window settings
// into a real window's paint manager.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Loom/Control/LabelUI.h"
#include "Loom/Control/TreeNodeUI.h"
#include "Loom/Control/TreeViewUI.h"
#include "Loom/Builder/DialogBuilder.h"
#include "testkit/LoomTestWindow.h"

using namespace Loom;
using namespace LoomTest;

namespace {

// Answers the names it is told to with a plain control, records every ask.
struct RecordingCallback : IDialogBuilderCallback {
    std::vector<std::string> asked;
    std::string answers;
    CControlUI* CreateControl(const char* className) override {
        asked.push_back(className);
        return answers == className ? new CControlUI : nullptr;
    }
};

std::vector<std::string> ChildNames(CControlUI* container) {
    std::vector<std::string> names;
    auto* items = static_cast<IContainerUI*>(container->GetInterface("IContainer"));
    for (int i = 0; items != nullptr && i < items->GetCount(); ++i) names.push_back(items->GetItemAt(i)->GetName());
    return names;
}

std::string TempFolder() {
    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    return dir;
}

CControlUI* FactoryForGadget(const char* name) {
    if (std::string(name) != "Gadget") return nullptr;
    CControlUI* control = new CControlUI;
    control->SetName("from factory");
    return control;
}

}  // namespace

TEST(DialogBuilder, WindowSizeAndDefaultFont_ReachTheManager) {
    TestWindow window;
    ASSERT_TRUE(window.Open(200, 150, nullptr));
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create("<Window size=\"400,300\" caption=\"0,0,0,30\"><Font name=\"Tahoma\" size=\"13\" bold=\"true\" "
                       "default=\"true\" /><VerticalLayout name=\"main\" /></Window>",
                       nullptr, nullptr, &window.Manager()));
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(root->GetClass(), "VerticalLayoutUI");
    CUIManager& manager = window.Manager();
    ASSERT_EQ(manager.GetCustomFontCount(), 1);
    std::string face;
    int size = 0;
    bool bold = false, underline = false, italic = false;
    ASSERT_TRUE(manager.GetFontDescription(manager.GetFont(0), face, size, bold, underline, italic));
    EXPECT_EQ(face, "Tahoma");
    EXPECT_EQ(size, 13);
    EXPECT_TRUE(bold);
    ASSERT_TRUE(manager.GetFontDescription(manager.GetDefaultFont(), face, size, bold, underline, italic));
    EXPECT_EQ(face, "Tahoma");
    EXPECT_EQ(size, 13);
    EXPECT_EQ(manager.GetCaptionRect().bottom, 30);
    RECT rc{};
    ::GetWindowRect(window.GetHWND(), &rc);
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(rc.bottom - rc.top, 300);
}

TEST(DialogBuilder, DefaultList_AppliedBeforeTheElementsOwnAttributes) {
    TestWindow window;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(
        "<Window><Default name=\"Control\" value=\"width=&quot;30&quot; height=&quot;7&quot;\" />"
        "<Default name=\"Control\" value=\"width=&quot;99&quot;\" />"
        "<VerticalLayout><Control name=\"plain\" /><Control name=\"own\" width=\"50\" /></VerticalLayout></Window>",
        nullptr, nullptr, &window.Manager()));
    ASSERT_NE(root, nullptr);
    auto* items = static_cast<IContainerUI*>(root->GetInterface("IContainer"));
    ASSERT_EQ(items->GetCount(), 2);
    EXPECT_EQ(items->GetItemAt(0)->GetFixedWidth(), 30);  // the first list for a name stays
    EXPECT_EQ(items->GetItemAt(1)->GetFixedWidth(), 50);
    EXPECT_EQ(items->GetItemAt(1)->GetFixedHeight(), 7);
    // Built detached: the window attaches the tree later.
    EXPECT_EQ(items->GetItemAt(0)->GetManager(), nullptr);
}

TEST(DialogBuilder, DefaultListWithTwoBlanks_AppliesOnlyTheFirstPair) {
    TestWindow window;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create("<Window><Default name=\"Control\" value=\"width=&quot;30&quot;  height=&quot;7&quot;\" />"
                       "<Control /></Window>",
                       nullptr, nullptr, &window.Manager()));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetFixedWidth(), 30);
    EXPECT_EQ(root->GetFixedHeight(), 0);
}

TEST(DialogBuilder, UnknownElement_SkippedWithItsSubtree) {
    RecordingCallback callback;
    callback.answers = "Custom";
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create("<Window><VerticalLayout><Mystery><Secret /><Control name=\"inner\" /></Mystery>"
                       "<Custom name=\"custom\" /><Control name=\"after\" /></VerticalLayout></Window>",
                       nullptr, &callback));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildNames(root.get()), (std::vector<std::string>{"custom", "after"}));
    EXPECT_EQ(callback.asked, (std::vector<std::string>{"Mystery", "Custom"}));
}

TEST(DialogBuilder, RegisteredFactory_AskedBeforeTheCallback) {
    ASSERT_TRUE(CDialogBuilder::RegisterControlFactory(&FactoryForGadget));
    RecordingCallback callback;
    callback.answers = "Gadget";
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create("<Window><Gadget /></Window>", nullptr, &callback));
    EXPECT_TRUE(CDialogBuilder::UnregisterControlFactory(&FactoryForGadget));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "from factory");
    EXPECT_TRUE(callback.asked.empty());
}

TEST(DialogBuilder, IncludeOfMarkupText_AddsItsControlsCountTimes) {
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(
        "<Window><VerticalLayout><Include count=\"2\" source=\"&lt;Window&gt;&lt;Control name=&quot;inc&quot; "
        "/&gt;&lt;/Window&gt;\" /><Include /><Control name=\"own\" /></VerticalLayout></Window>"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(ChildNames(root.get()), (std::vector<std::string>{"inc", "inc", "own"}));
}

TEST(DialogBuilder, IncludeOfFiles_ReadBelowTheResourcePathAndEndAtTheNestingLimit) {
    const std::string folder = TempFolder();
    std::ofstream(folder + "builder_inc.xml") << "<Window><Control name=\"fromfile\" /></Window>";
    // A file that includes itself would never end without the nesting limit.
    std::ofstream(folder + "builder_self.xml")
        << "<Window><Control name=\"s\" /><Include source=\"builder_self.xml\" /></Window>";
    ResourcePathScope scope(folder);
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(
        "<Window><VerticalLayout><Include source=\"builder_inc.xml\" /><Include source=\"builder_self.xml\" />"
        "</VerticalLayout></Window>"));
    ASSERT_NE(root, nullptr);
    const std::vector<std::string> names = ChildNames(root.get());
    ASSERT_GT(names.size(), 100u);
    EXPECT_LT(names.size(), static_cast<size_t>(CXmlMarkup::kMaxDepth));
    EXPECT_EQ(names[0], "fromfile");
    EXPECT_EQ(names.back(), "s");
}

TEST(DialogBuilder, IncludeThatKeepsDoubling_RefusedWithAClearError) {
    // Each level includes the next twice: without a bound on the whole
    // expansion, 2^255 documents.
    const std::string folder = TempFolder();
    std::ofstream(folder + "builder_twice.xml")
        << "<Window><Control name=\"t\" /><Include count=\"2\" source=\"builder_twice.xml\" /></Window>";
    ResourcePathScope scope(folder);
    CDialogBuilder builder;
    EXPECT_EQ(
        builder.Create("<Window><VerticalLayout><Include source=\"builder_twice.xml\" /></VerticalLayout></Window>"),
        nullptr);
    EXPECT_STREQ(builder.GetLastErrorMessage(), "Include expands to more than 1000 documents");
    // The bound belongs to one build: the next one starts afresh.
    std::unique_ptr<CControlUI> root(
        builder.Create("<Window><VerticalLayout><Include source=\"&lt;Window&gt;&lt;Control /&gt;&lt;/Window&gt;\" />"
                       "</VerticalLayout></Window>"));
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(builder.GetLastErrorMessage(), "");
}

TEST(DialogBuilder, Nesting_BuiltToTheLimitAndRefusedBeyond) {
    auto nested = [](int layouts) {
        std::string text = "<Window>";
        for (int i = 0; i < layouts; ++i) text += "<VerticalLayout>";
        for (int i = 0; i < layouts; ++i) text += "</VerticalLayout>";
        return text + "</Window>";
    };
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(nested(CXmlMarkup::kMaxDepth - 1).c_str()));
    ASSERT_NE(root, nullptr);
    int depth = 1;
    for (CControlUI* c = root.get(); (c = static_cast<CContainerUI*>(c)->GetItemAt(0)) != nullptr;) ++depth;
    EXPECT_EQ(depth, CXmlMarkup::kMaxDepth - 1);
    EXPECT_EQ(builder.Create(nested(10000).c_str()), nullptr);
    EXPECT_STREQ(builder.GetMarkup().GetLastErrorMessage(), "Nesting too deep");
}

TEST(DialogBuilder, NothingToBuild_GivesNoControl) {
    CDialogBuilder builder;
    EXPECT_EQ(builder.Create("<!-- only a comment -->"), nullptr);
    EXPECT_EQ(builder.Create("<Window><Control x='1' /></Window>"), nullptr);
    EXPECT_EQ(builder.Create("builder_missing_file.xml"), nullptr);
    EXPECT_EQ(builder.Create(MAKEINTRESOURCEA(4321), "XML"), nullptr);
    // A parent that cannot hold children gives no control either.
    CControlUI leaf;
    EXPECT_EQ(builder.Create("<Window><Control /></Window>", nullptr, nullptr, nullptr, &leaf), nullptr);
}

// Each element name builds the class of the toolkit's table (an element of
// one class built as another would silently lose its attributes).
TEST(DialogBuilder, ElementNames_BuildTheirClasses) {
    const std::pair<const char*, const char*> table[] = {
        {"Edit", "EditUI"},
        {"List", "ListUI"},
        {"Text", "TextUI"},
        {"Combo", "ComboUI"},
        {"Label", "LabelUI"},
        {"Button", "ButtonUI"},
        {"Option", "OptionUI"},
        {"Control", "ControlUI"},
        {"Progress", "ProgressUI"},
        {"RichEdit", "RichEditUI"},
        {"CheckBox", "CheckBoxUI"},
        {"ComboBox", "ComboBoxUI"},
        {"TreeView", "TreeViewUI"},
        {"Container", "ContainerUI"},
        {"TabLayout", "TabLayoutUI"},
        {"ScrollBar", "ScrollBarUI"},
        {"ListHeader", "ListHeaderUI"},
        {"VerticalLayout", "VerticalLayoutUI"},
        {"ListHeaderItem", "ListHeaderItemUI"},
        {"ListTextElement", "ListTextElementUI"},
        {"HorizontalLayout", "HorizontalLayoutUI"},
        {"ListLabelElement", "ListLabelElementUI"},
        {"ListContainerElement", "ListContainerElementUI"},
    };
    for (const auto& [element, className] : table) {
        CDialogBuilder builder;
        const std::string xml = std::string("<Window><") + element + " /></Window>";
        std::unique_ptr<CControlUI> control(builder.Create(xml.c_str(), nullptr, nullptr, nullptr));
        ASSERT_NE(control, nullptr) << element;
        EXPECT_STREQ(control->GetClass(), className) << element;
    }
}

// A default list for "Button" colours every markup button, except one that
// sets its own text colour (its attributes come after the default list).
TEST(DialogBuilder, ButtonDefaults_GiveWayToTheButtonsOwnTextColour) {
    TestWindow window;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create("<Window><Default name=\"Button\" value=\"textcolor=&quot;#FF112233&quot;\" />"
                       "<HorizontalLayout><Button name=\"a\" /><Button name=\"b\" textcolor=\"#FF445566\" />"
                       "<Label name=\"c\" /></HorizontalLayout></Window>",
                       nullptr, nullptr, &window.Manager()));
    ASSERT_NE(root, nullptr);
    auto* items = static_cast<IContainerUI*>(root->GetInterface("IContainer"));
    ASSERT_EQ(items->GetCount(), 3);
    EXPECT_EQ(static_cast<CLabelUI*>(items->GetItemAt(0))->GetTextColor(), 0xFF112233u);
    EXPECT_EQ(static_cast<CLabelUI*>(items->GetItemAt(1))->GetTextColor(), 0xFF445566u);
    EXPECT_EQ(static_cast<CLabelUI*>(items->GetItemAt(2))->GetTextColor(), 0u);
}

// Tree nodes in markup: a node inside a node becomes its child node, a node
// directly in a tree view joins the view, and the view lists every node.
TEST(DialogBuilder, TreeNodes_NestUnderTheirParentNodesInTheView) {
    TestWindow window;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create("<Window><TreeView name=\"tree\"><TreeNode text=\"Radio\"><TreeNode text=\"Channels\">"
                       "<TreeNode text=\"Channel 1\" /></TreeNode><TreeNode text=\"Ports\" /></TreeNode>"
                       "<TreeNode text=\"Firmware\" /></TreeView></Window>",
                       nullptr, nullptr, &window.Manager()));
    ASSERT_NE(root, nullptr);
    auto* view = static_cast<CTreeViewUI*>(root->GetInterface("TreeView"));
    ASSERT_NE(view, nullptr);
    auto* items = static_cast<IContainerUI*>(root->GetInterface("IContainer"));
    ASSERT_EQ(items->GetCount(), 5);
    auto* radio = static_cast<CTreeNodeUI*>(items->GetItemAt(0)->GetInterface("TreeNode"));
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->GetChildCount(), 2);
    EXPECT_EQ(radio->GetChildNode(0)->GetChildCount(), 1);
    EXPECT_EQ(radio->GetChildNode(0)->GetChildNode(0)->GetTreeLevel(), 2);
    auto* last = static_cast<CTreeNodeUI*>(items->GetItemAt(4)->GetInterface("TreeNode"));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->GetParentNode(), nullptr);
}
