#include "Loom/Builder/DialogBuilder.h"

#include <cstring>
#include <memory>
#include <vector>

#include "Loom/Control/ButtonUI.h"
#include "Loom/Control/CheckBoxUI.h"
#include "Loom/Control/ComboBoxUI.h"
#include "Loom/Control/ComboUI.h"
#include "Loom/Control/EditUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Control/ListContainerElementUI.h"
#include "Loom/Control/ListHeaderItemUI.h"
#include "Loom/Control/ListHeaderUI.h"
#include "Loom/Control/ListTextElementUI.h"
#include "Loom/Control/ListUI.h"
#include "Loom/Control/ListLabelElementUI.h"
#include "Loom/Control/OptionUI.h"
#include "Loom/Control/ProgressUI.h"
#include "Loom/Control/RichEditUI.h"
#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Control/TextUI.h"
#include "Loom/Control/TreeNodeUI.h"
#include "Loom/Control/TreeViewUI.h"
#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/ControlUI.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"
#include "Loom/Layout/HorizontalLayoutUI.h"
#include "Loom/Layout/TabLayoutUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"
#include "platform/Win32Text.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

template <typename T>
CControlUI* Make() {
    return new T;
}

struct TControlRow {
    const char* element;
    CControlUI* (*create)();
};

// The toolkit's controls by element name (exact, case-sensitive).
const TControlRow kControls[] = {
    {"Edit", &Make<CEditUI>},
    {"List", &Make<CListUI>},
    {"Text", &Make<CTextUI>},
    {"Combo", &Make<CComboUI>},
    {"Label", &Make<CLabelUI>},
    {"Button", &Make<CButtonUI>},
    {"Option", &Make<COptionUI>},
    {"Control", &Make<CControlUI>},
    {"Progress", &Make<CProgressUI>},
    {"RichEdit", &Make<CRichEditUI>},
    {"CheckBox", &Make<CCheckBoxUI>},
    {"ComboBox", &Make<CComboBoxUI>},
    {"TreeView", &Make<CTreeViewUI>},
    {"Container", &Make<CContainerUI>},
    {"TabLayout", &Make<CTabLayoutUI>},  // no page selected until one is added
    {"ScrollBar", &Make<CScrollBarUI>},
    {"ListHeader", &Make<CListHeaderUI>},
    {"VerticalLayout", &Make<CVerticalLayoutUI>},
    {"ListHeaderItem", &Make<CListHeaderItemUI>},
    {"ListTextElement", &Make<CListTextElementUI>},
    {"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {"ListLabelElement", &Make<CListLabelElementUI>},
    {"ListContainerElement", &Make<CListContainerElementUI>},
};

// The tree rule's three steps: a new node; a control added to a node's
// child area (a node becomes a child node, anything else joins the node's
// line); a node added to a tree view. The interfaces are those the node
// and the view answer for "TreeNode" and "TreeView".
CControlUI* NewTreeNode() { return new CTreeNodeUI; }
bool AddToTreeNode(void* parentNode, CControlUI* control) {
    return static_cast<CTreeNodeUI*>(parentNode)->Add(control);
}
bool AddToTreeView(void* treeView, CControlUI* node) { return static_cast<CTreeViewUI*>(treeView)->Add(node); }

std::vector<CDialogBuilder::ControlFactory>& Factories() {
    static std::vector<CDialogBuilder::ControlFactory> factories;
    return factories;
}

}  // namespace

bool CDialogBuilder::RegisterControlFactory(ControlFactory factory) {
    std::vector<ControlFactory>& factories = Factories();
    if (factory == nullptr) return false;
    for (ControlFactory f : factories)
        if (f == factory) return false;
    factories.push_back(factory);
    return true;
}

bool CDialogBuilder::UnregisterControlFactory(ControlFactory factory) {
    std::vector<ControlFactory>& factories = Factories();
    for (auto it = factories.begin(); it != factories.end(); ++it) {
        if (*it == factory) {
            factories.erase(it);
            return true;
        }
    }
    return false;
}

CControlUI* CDialogBuilder::Create(LPCSTR xml, LPCSTR type, IDialogBuilderCallback* callback, CUIManager* manager,
                                   CControlUI* parent) {
    error_ = "";
    if (!Load(xml, type)) return nullptr;
    return Create(callback, manager, parent);
}

bool CDialogBuilder::Load(LPCSTR xml, LPCSTR type) {
    if (xml == nullptr) return false;
    if (!IS_INTRESOURCE(xml)) return xml[0] == '<' ? markup_.Load(xml) : markup_.LoadFromFile(xml);
    HMODULE module = CUIManager::GetResourceInstance();
    if (module == nullptr) module = ::GetModuleHandleW(nullptr);
    HRSRC resource = Text::FindResourceNamed(module, xml, type);
    if (resource == nullptr) return false;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const DWORD size = ::SizeofResource(module, resource);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) return false;
    hasType_ = true;
    if (IS_INTRESOURCE(type)) {
        typeId_ = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(type));
        typeName_.clear();
    } else {
        typeName_ = type;
    }
    return markup_.LoadFromMem(static_cast<const unsigned char*>(bytes), size);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* callback, CUIManager* manager, CControlUI* parent) {
    callback_ = callback;
    error_ = "";
    const bool outermost = expansion_ == &ownExpansion_;
    if (outermost) ownExpansion_ = Expansion{};
    const CXmlMarkupNode root = markup_.GetRoot();
    if (!root.IsValid()) return nullptr;
    if (manager != nullptr) {
        LoadResources(root, manager);
        if (manager->GetPaintWindow() != nullptr && Is(root.GetName(), "Window")) ApplyWindowAttributes(root, manager);
    }
    CControlUI* first = ParseControls(root, parent, manager, baseDepth_ + 1);
    if (!outermost || !ownExpansion_.exceeded) return first;
    error_ = "Include expands to more than 1000 documents";
    static_assert(kMaxIncludedDocuments == 1000, "the message names the bound");
    if (parent == nullptr) delete first;  // nothing else owns it
    return nullptr;
}

const char* CDialogBuilder::GetLastErrorMessage() const {
    return error_[0] != '\0' ? error_ : markup_.GetLastErrorMessage();
}

// Image, Font and Default elements directly under the root.
void CDialogBuilder::LoadResources(const CXmlMarkupNode& root, CUIManager* manager) {
    for (CXmlMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const char* element = node.GetName();
        const bool image = Is(element, "Image");
        const bool font = Is(element, "Font");
        if (!image && !font && !Is(element, "Default")) continue;
        const char* name = nullptr;
        const char* type = "";
        const char* value = "";
        DWORD mask = 0;
        int size = 12;
        bool bold = false, underline = false, italic = false, isDefault = false;
        for (int i = 0; i < node.GetAttributeCount(); ++i) {
            const char* attribute = node.GetAttributeName(i);
            const char* v = node.GetAttributeValue(i);
            if (Is(attribute, "name"))
                name = v;
            else if (image && Is(attribute, "restype"))
                type = v;
            else if (image && Is(attribute, "mask"))
                mask = ValueReaders::ReadColor(v);
            else if (font && Is(attribute, "size"))
                size = ValueReaders::ReadInt(v);
            else if (font && Is(attribute, "bold"))
                bold = ValueReaders::ReadBool(v);
            else if (font && Is(attribute, "underline"))
                underline = ValueReaders::ReadBool(v);
            else if (font && Is(attribute, "italic"))
                italic = ValueReaders::ReadBool(v);
            else if (font && Is(attribute, "default"))
                isDefault = ValueReaders::ReadBool(v);
            else if (!image && !font && Is(attribute, "value"))
                value = v;
        }
        if (name == nullptr) continue;
        if (image) {
            manager->AddImage(name, type, mask);
        } else if (font) {
            manager->AddFont(name, size, bold, underline, italic);
            if (isDefault) manager->SetDefaultFont(name, size, bold, underline, italic);
        } else {
            manager->AddDefaultAttributeList(name, value);
        }
    }
}

// The root Window's attributes, in document order.
void CDialogBuilder::ApplyWindowAttributes(const CXmlMarkupNode& root, CUIManager* manager) {
    for (int i = 0; i < root.GetAttributeCount(); ++i) {
        const char* name = root.GetAttributeName(i);
        const char* value = root.GetAttributeValue(i);
        int n[4] = {};
        const bool pair = Is(name, "size") || Is(name, "roundcorner") || Is(name, "mininfo") || Is(name, "maxinfo");
        const bool rect = Is(name, "sizebox") || Is(name, "caption");
        if (pair) ValueReaders::ReadNumberList(value, n, 2);
        if (rect) ValueReaders::ReadNumberList(value, n, 4);
        const RECT rc{n[0], n[1], n[2], n[3]};
        if (Is(name, "size"))
            manager->SetInitSize(n[0], n[1]);
        else if (Is(name, "sizebox"))
            manager->SetSizeBox(rc);
        else if (Is(name, "caption"))
            manager->SetCaptionRect(rc);
        else if (Is(name, "roundcorner"))
            manager->SetRoundCorner(n[0], n[1]);
        else if (Is(name, "mininfo"))
            manager->SetMinInfo(n[0], n[1]);
        else if (Is(name, "maxinfo"))
            manager->SetMaxInfo(n[0], n[1]);
        else if (Is(name, "showdirty"))
            manager->SetShowUpdateRect(ValueReaders::ReadBool(value));
        else if (Is(name, "alpha"))
            manager->SetTransparent(ValueReaders::ReadInt(value));
        else if (Is(name, "bktrans"))
            manager->SetBackgroundTransparent(ValueReaders::ReadBool(value));
        else if (Is(name, "disabledfontcolor"))
            manager->SetDefaultDisabledColor(ValueReaders::ReadColor(value));
        else if (Is(name, "defaultfontcolor"))
            manager->SetDefaultFontColor(ValueReaders::ReadColor(value));
        else if (Is(name, "linkfontcolor"))
            manager->SetDefaultLinkFontColor(ValueReaders::ReadColor(value));
        else if (Is(name, "linkhoverfontcolor"))
            manager->SetDefaultLinkHoverFontColor(ValueReaders::ReadColor(value));
        else if (Is(name, "selectedcolor"))
            manager->SetDefaultSelectedBkColor(ValueReaders::ReadColor(value));
    }
}

CControlUI* CDialogBuilder::NewControl(const char* name) const {
    for (const TControlRow& row : kControls)
        if (Is(row.element, name)) return row.create();
    for (ControlFactory factory : Factories())
        if (CControlUI* control = factory(name)) return control;
    return callback_ != nullptr ? callback_->CreateControl(name) : nullptr;
}

// Attached to the manager only while its defaults and attributes are
// applied; the window attaches (and initialises) the finished tree later.
void CDialogBuilder::Configure(const CXmlMarkupNode& node, CControlUI* control, CUIManager* manager) const {
    if (manager != nullptr) {
        control->SetManager(manager, nullptr, false);
        if (const char* list = manager->GetDefaultAttributeList(node.GetName())) control->ApplyAttributeList(list);
    }
    for (int i = 0; i < node.GetAttributeCount(); ++i)
        control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
}

// The children of parentNode (at depth) as controls under parent. Answers the
// first control made at this level, or nullptr. Without a parent nothing
// would own a second control, so only the first is kept.
CControlUI* CDialogBuilder::ParseControls(const CXmlMarkupNode& parentNode, CControlUI* parent, CUIManager* manager,
                                          int depth) {
    if (depth + 1 > CXmlMarkup::kMaxDepth) return nullptr;
    IContainerUI* container = nullptr;
    bool askedContainer = false;
    CControlUI* first = nullptr;
    for (CXmlMarkupNode node = parentNode.GetChild(); node.IsValid(); node = node.GetSibling()) {
        if (expansion_->exceeded) break;  // the build is refused: nothing more is made
        const char* name = node.GetName();
        if (Is(name, "Image") || Is(name, "Font") || Is(name, "Default")) continue;
        if (Is(name, "Include")) {
            RunInclude(node, parent, manager, depth + 1);
            continue;
        }
        CControlUI* control = nullptr;
        if (Is(name, "TreeNode")) {
            bool abandon = false;
            control = BuildTreeNode(node, parent, manager, depth + 1, abandon);
            if (abandon) return nullptr;
            if (control == nullptr) continue;
        } else {
            control = NewControl(name);
            if (control == nullptr) continue;  // skipped with everything inside
            if (node.HasChildren()) ParseControls(node, control, manager, depth + 1);
            if (parent != nullptr) {
                if (!askedContainer) {
                    container = static_cast<IContainerUI*>(parent->GetInterface("IContainer"));
                    askedContainer = true;
                }
                void* parentNodeArea = parent->GetInterface("TreeNode");
                const bool added = parentNodeArea != nullptr ? AddToTreeNode(parentNodeArea, control)
                                                             : container != nullptr && container->Add(control);
                if (!added) {
                    delete control;
                    if (parentNodeArea == nullptr && container == nullptr) return nullptr;
                    continue;
                }
            } else if (first != nullptr) {
                delete control;
                continue;
            }
            Configure(node, control, manager);
            if (manager != nullptr) control->SetManager(nullptr, nullptr, false);
        }
        if (first == nullptr) first = control;
    }
    return first;
}

// "TreeNode": added to a parent node at once, configured (and left attached),
// its children built, and only then added to a parent tree view.
CControlUI* CDialogBuilder::BuildTreeNode(const CXmlMarkupNode& node, CControlUI* parent, CUIManager* manager,
                                          int depth, bool& abandon) {
    CControlUI* treeNode = NewTreeNode();
    if (treeNode == nullptr) return nullptr;
    void* parentNode = parent != nullptr ? parent->GetInterface("TreeNode") : nullptr;
    if (parentNode != nullptr && !AddToTreeNode(parentNode, treeNode)) {
        delete treeNode;
        return nullptr;
    }
    Configure(node, treeNode, manager);
    if (node.HasChildren()) ParseControls(node, treeNode, manager, depth);
    if (parentNode != nullptr) return treeNode;
    void* treeView = parent != nullptr ? parent->GetInterface("TreeView") : nullptr;
    if (treeView == nullptr || !AddToTreeView(treeView, treeNode)) {
        delete treeNode;
        abandon = treeView == nullptr;
        return nullptr;
    }
    return treeNode;
}

// "Include": count times, the source built by a builder of its own into the
// same parent, its resources and window settings going to the same manager.
void CDialogBuilder::RunInclude(const CXmlMarkupNode& node, CControlUI* parent, CUIManager* manager, int depth) {
    if (!node.HasAttributes()) return;
    char buffer[CXmlMarkupNode::kMaxCopiedValue + 1];
    const int count = node.GetAttributeValue("count", buffer, sizeof buffer) ? ValueReaders::ReadInt(buffer) : 1;
    std::string source;
    if (!node.GetAttributeValue("source", buffer, sizeof buffer)) return;
    source = buffer;
    for (int i = 0; i < count; ++i) {
        if (expansion_->documentsLeft == 0) {
            expansion_->exceeded = true;
            return;
        }
        --expansion_->documentsLeft;
        auto builder = std::make_unique<CDialogBuilder>();
        builder->expansion_ = expansion_;
        // An included document sits below the Include, so a file that
        // includes itself ends at the nesting limit.
        builder->baseDepth_ = depth;
        LPCSTR xml = source.c_str();
        LPCSTR type = nullptr;
        if (hasType_) {
            xml = MAKEINTRESOURCEA(ValueReaders::ReadInt(source.c_str()) & 0xFFFF);
            type = typeName_.empty() ? MAKEINTRESOURCEA(typeId_) : typeName_.c_str();
        }
        CControlUI* first = builder->Create(xml, type, callback_, manager, parent);
        if (parent == nullptr) delete first;  // nothing would own it
        if (expansion_->exceeded) return;
    }
}

}  // namespace Loom
