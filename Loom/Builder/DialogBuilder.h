#pragma once
#include <windows.h>

#include <string>

#include "Loom/Markup/XmlMarkup.h"

namespace Loom {

class CControlUI;
class CUIManager;

// Asked for the controls of element names the toolkit does not know.
class IDialogBuilderCallback {
public:
    // A new control for the element name, or nullptr to skip the element.
    virtual CControlUI* CreateControl(const char* className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

// Turns a markup document into a control tree: resource elements and window
// settings go to the paint manager, every other element becomes a control
// with its attributes applied. The builder keeps the document: names and
// values read from it live as long as the builder. Window thread only.
class CDialogBuilder {
public:
    // Makes a control for an element name, or answers nullptr.
    using ControlFactory = CControlUI* (*)(const char* className);

    CDialogBuilder() = default;
    CDialogBuilder(const CDialogBuilder&) = delete;
    CDialogBuilder& operator=(const CDialogBuilder&) = delete;

    // Offers names the toolkit does not know to factory, before any
    // callback; factories are asked in registration order. False for a
    // null or already registered factory.
    static bool RegisterControlFactory(ControlFactory factory);
    static bool UnregisterControlFactory(ControlFactory factory);

    // Includes one build may expand, in all: a document that includes
    // itself more than once would otherwise double at every level.
    static constexpr int kMaxIncludedDocuments = 1000;

    // Loads and builds. xml is a resource number (MAKEINTRESOURCE, looked up
    // under type in the resource module), markup text (begins with "<") or
    // a file name below the resource path. nullptr when the document cannot
    // be loaded or yields no control, and when its Includes expand to more
    // than kMaxIncludedDocuments documents: then no control of the build is
    // kept, except those already added to a given parent, which owns them.
    CControlUI* Create(LPCSTR xml, LPCSTR type = nullptr, IDialogBuilderCallback* callback = nullptr,
                       CUIManager* manager = nullptr, CControlUI* parent = nullptr);
    // Builds from the document already loaded: the first control created
    // directly under the root element, or nullptr.
    CControlUI* Create(IDialogBuilderCallback* callback = nullptr, CUIManager* manager = nullptr,
                       CControlUI* parent = nullptr);

    CXmlMarkup& GetMarkup() { return markup_; }
    // Why the last Create gave no control: the builder's own reason (the
    // Include bound), else the document's (empty when it loaded).
    const char* GetLastErrorMessage() const;

private:
    bool Load(LPCSTR xml, LPCSTR type);
    void LoadResources(const CXmlMarkupNode& root, CUIManager* manager);
    void ApplyWindowAttributes(const CXmlMarkupNode& root, CUIManager* manager);
    CControlUI* ParseControls(const CXmlMarkupNode& parentNode, CControlUI* parent, CUIManager* manager, int depth);
    void RunInclude(const CXmlMarkupNode& node, CControlUI* parent, CUIManager* manager, int depth);
    CControlUI* BuildTreeNode(const CXmlMarkupNode& node, CControlUI* parent, CUIManager* manager, int depth,
                              bool& abandon);
    CControlUI* NewControl(const char* name) const;
    void Configure(const CXmlMarkupNode& node, CControlUI* control, CUIManager* manager) const;

    CXmlMarkup markup_;
    IDialogBuilderCallback* callback_ = nullptr;
    // Set when the document came from a module resource; an Include then
    // names a resource of the same type.
    bool hasType_ = false;
    std::string typeName_;
    WORD typeId_ = 0;
    // How deep in the tree this builder's document sits (an Include's).
    int baseDepth_ = 0;
    // What the whole build may still include: the outermost builder's own,
    // shared by the builders of its Includes.
    struct Expansion {
        int documentsLeft = kMaxIncludedDocuments;
        bool exceeded = false;
    };
    Expansion ownExpansion_;
    Expansion* expansion_ = &ownExpansion_;
    const char* error_ = "";
};

}  // namespace Loom
