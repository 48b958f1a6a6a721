// The report engine's registries: the report object classes that can be
// placed in reports (with their button images and categories), the
// component editors of those classes, the property editors of property
// types, and the export filters that exist at the moment.  Each registry is
// created on first use and lives until shut-down.
//
// The rule a caller must know: look-ups prefer the most specific entry --
// a component editor registered for the exact class beats one registered
// for an ancestor, and among ancestors the one registered last wins; a
// property editor for (class, property name) beats one for the bare type.
//
// Example: the report output registers its cross-tab editor and asks for it.
//
//   qlr::GetComponentEditorCollection().Register(&TqlrCrossView::StaticClassInfo(),
//       [](auto* c, auto* d, auto* m) { return std::make_unique<TqlrCrossEditor>(c, d, m); });
//   auto editor = qlr::GetComponentEditorCollection().GetComponentEditor(view, nullptr, menu);
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/TypInfo.h"

namespace gui {
class TBitmap;
class TCanvas;
struct TRect;
class TMenu;
class TMenuItem;
} // namespace gui

namespace qlr {

class TqlrCustomExportFilter;

enum class TqlrObjectCategory { ctData, ctReport, ctDialog, ctDMP };
using TqlrObjectCategories = rtl::Set<TqlrObjectCategory, 4>;

// One placeable class, or a category (no class).
struct TqlrObjectItem {
    const rtl::TClassInfo* ClassRef = nullptr;
    gui::TBitmap* ButtonBmp = nullptr;   // not owned
    int ButtonImageIndex = -1;
    std::string ButtonHint;
    std::string CategoryName;
    uint16_t Flags = 0;
    TqlrObjectCategories Category;
};

class TqlrObjectCollection {
public:
    // Nothing happens for a class already registered with the same flags.
    // An empty category set becomes ctData, ctDialog or ctReport by the
    // class's ancestry.
    void RegisterObject1(const rtl::TClassInfo* classRef, gui::TBitmap* buttonBmp, const std::string& buttonHint,
                         const std::string& categoryName, uint16_t flags, int imageIndex,
                         TqlrObjectCategories category);
    void RegisterObject(const rtl::TClassInfo* classRef, gui::TBitmap* buttonBmp, const std::string& categoryName);
    void RegisterCategory(const std::string& categoryName, gui::TBitmap* buttonBmp,
                          const std::string& buttonHint, int imageIndex);
    void Unregister(const rtl::TClassInfo* classRef);
    int Count() const { return static_cast<int>(FItems.size()); }
    const TqlrObjectItem& GetItem(int index) const { return FItems.at(static_cast<std::size_t>(index)); }

private:
    std::vector<TqlrObjectItem> FItems;
};

// The base of component editors: nothing to edit, no menu items.
class TqlrComponentEditor : public rtl::TObject {
public:
    TqlrComponentEditor(rtl::TComponent* component, void* designer, gui::TMenu* menu)
        : FComponent(component), FDesigner(designer), FMenu(menu) {}
    virtual bool Edit() { return false; }
    virtual bool HasEditor() { return false; }
    virtual void GetMenuItems() {}
    virtual bool Execute(int tag, bool checked) { return false; }

protected:
    // A new item of the menu with that caption, tag and check mark.
    gui::TMenuItem* AddMenuItem(const std::string& caption, int tag, bool checked);

    rtl::TComponent* FComponent;
    void* FDesigner;
    gui::TMenu* FMenu;
};

// Creates an editor of one class: the class reference of an editor class.
using TqlrComponentEditorClass =
    std::function<std::unique_ptr<TqlrComponentEditor>(rtl::TComponent*, void*, gui::TMenu*)>;

class TqlrComponentEditorCollection {
public:
    // Appends an entry; editor identifies the editor class for UnRegister.
    void Register(const rtl::TClassInfo* componentClass, const std::string& editor,
                  TqlrComponentEditorClass create);
    void UnRegister(const std::string& editor);
    // An editor for the component (the caller owns it), or none.
    std::unique_ptr<TqlrComponentEditor> GetComponentEditor(rtl::TComponent* component, void* designer,
                                                            gui::TMenu* menu) const;
    int Count() const { return static_cast<int>(FItems.size()); }

private:
    struct Item {
        const rtl::TClassInfo* ComponentClass;
        std::string Editor;
        TqlrComponentEditorClass Create;
    };
    std::vector<Item> FItems;
};

enum class TqlrPropertyAttribute { paValueList, paSortList, paDialog, paMultiSelect, paSubProperties,
                                   paReadOnly, paOwnerDraw };
using TqlrPropertyAttributes = rtl::Set<TqlrPropertyAttribute, 7>;

// The base of property editors over a list of edited objects and their
// property.  Edit steps a value-list editor to the next value, wrapping.
class TqlrPropertyEditor : public rtl::TObject {
public:
    explicit TqlrPropertyEditor(void* designer) : FDesigner(designer) {}
    void AddObject(rtl::TObject* obj, const rtl::TPropInfo* prop);

    virtual bool Edit();
    virtual TqlrPropertyAttributes GetAttributes() { return {TqlrPropertyAttribute::paMultiSelect}; }
    virtual std::string GetName();
    virtual int GetExtraLBSize() { return FItemHeight + 2; }
    virtual std::string GetValue() { return "(Unknown)"; }
    virtual void GetValues();
    virtual void SetValue(const std::string& value) {}
    // Owner drawing of a value-list item (its text at left + ItemHeight + 4)
    // and of the current value (at left + ItemHeight - 2); both leave the
    // pen grey.
    virtual void OnDrawLBItem(gui::TCanvas* canvas, int index, const gui::TRect& r);
    virtual void OnDrawItem(gui::TCanvas* canvas, const gui::TRect& r);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value) { FItemHeight = value; }

    const rtl::TStringList& Values() const { return FValues; }
    rtl::TObject* FirstComponent() const;
    const rtl::TPropInfo* FirstPropInfo() const;
    long double ReadFloatValue() const;
    int64_t ReadOrdValue() const;
    std::string ReadStrValue() const;
    // Sets the value on every edited object whose property can be written.
    void WriteFloatValue(long double value);
    void WriteOrdValue(int64_t value);
    void WriteStrValue(const std::string& value);
    void AddListValue(const std::string& text) { FValues.Add(text); }

protected:
    void* FDesigner;
    std::vector<rtl::TObject*> FCompList;
    std::vector<const rtl::TPropInfo*> FPropList;
    int FItemHeight = 0;
    rtl::TStringList FValues;
};

using TqlrPropertyEditorClass = std::function<std::unique_ptr<TqlrPropertyEditor>(void*)>;

class TqlrPropertyEditorCollection {
public:
    struct Item {
        const rtl::TTypeInfo* PropertyType;     // none allowed
        const rtl::TClassInfo* ComponentClass;  // none: any class
        std::string PropertyName;               // empty: any name
        std::string Editor;
        TqlrPropertyEditorClass Create;
    };
    void Register(const rtl::TTypeInfo* propertyType, const rtl::TClassInfo* componentClass,
                  const std::string& propertyName, const std::string& editor, TqlrPropertyEditorClass create);
    // The editor of every event property.
    void RegisterEventEditor(const std::string& editor, TqlrPropertyEditorClass create);
    void UnRegister(const std::string& editor);
    // Index of the entry to use for the property, -1 for none.
    int GetPropertyEditor(const rtl::TTypeInfo* propertyType, const rtl::TObject* component,
                          std::string_view propertyName) const;
    int Count() const { return static_cast<int>(FItems.size()); }
    const Item& GetItem(int index) const { return FItems.at(static_cast<std::size_t>(index)); }

private:
    std::vector<Item> FItems;
    int FEventEditorItem = -1;
};

class TqlrExportFilterCollection {
public:
    // None and a filter already present are ignored.
    void Register(TqlrCustomExportFilter* filter);
    void Unregister(TqlrCustomExportFilter* filter);
    int Count() const { return static_cast<int>(FItems.size()); }
    TqlrCustomExportFilter* GetItem(int index) const { return FItems.at(static_cast<std::size_t>(index)); }

private:
    std::vector<TqlrCustomExportFilter*> FItems;
};

TqlrObjectCollection& GetObjectCollection();
TqlrComponentEditorCollection& GetComponentEditorCollection();
TqlrPropertyEditorCollection& GetPropertyEditorCollection();
TqlrExportFilterCollection& GetExportFilterCollection();

} // namespace qlr
