#include "report/qlrDsgnIntf.h"

#include <algorithm>

#include "platform/gui/Graphics.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/Strings.h"

namespace qlr {

// ---------------------------------------------------------------- objects

void TqlrObjectCollection::RegisterObject1(const rtl::TClassInfo* classRef, gui::TBitmap* buttonBmp,
                                           const std::string& buttonHint, const std::string& categoryName,
                                           uint16_t flags, int imageIndex, TqlrObjectCategories category)
{
    for (const TqlrObjectItem& it : FItems)
        if (classRef && it.ClassRef == classRef && it.Flags == flags) return;
    if (classRef) rtl::RegisterClass(*classRef);
    TqlrObjectItem item;
    item.ClassRef = classRef;
    item.ButtonBmp = buttonBmp;
    item.ButtonImageIndex = imageIndex;
    item.ButtonHint = buttonHint;
    item.CategoryName = categoryName;
    item.Flags = flags;
    item.Category = category;
    if (classRef && category.Empty()) {
        if (classRef->InheritsFrom("TqlrDataSet") || classRef->InheritsFrom("TqlrCustomDatabase"))
            item.Category = {TqlrObjectCategory::ctData};
        else if (classRef->InheritsFrom("TqlrDialogControl") || classRef->InheritsFrom("TqlrDialogComponent"))
            item.Category = {TqlrObjectCategory::ctDialog};
        else
            item.Category = {TqlrObjectCategory::ctReport};
    }
    FItems.push_back(std::move(item));
}

void TqlrObjectCollection::RegisterObject(const rtl::TClassInfo* classRef, gui::TBitmap* buttonBmp,
                                          const std::string& categoryName)
{
    RegisterObject1(classRef, buttonBmp, "", categoryName, 0, -1, {});
}

void TqlrObjectCollection::RegisterCategory(const std::string& categoryName, gui::TBitmap* buttonBmp,
                                            const std::string& buttonHint, int imageIndex)
{
    RegisterObject1(nullptr, buttonBmp, buttonHint, categoryName, 0, imageIndex, {});
}

void TqlrObjectCollection::Unregister(const rtl::TClassInfo* classRef)
{
    std::erase_if(FItems, [&](const TqlrObjectItem& it) { return it.ClassRef == classRef; });
}

// ---------------------------------------------------------------- component editors

gui::TMenuItem* TqlrComponentEditor::AddMenuItem(const std::string& caption, int tag, bool checked)
{
    auto* item = new gui::TMenuItem(FMenu);
    item->SetCaption(caption);
    item->SetTag(tag);
    item->SetChecked(checked);
    FMenu->Items()->Add(item);
    return item;
}

void TqlrComponentEditorCollection::Register(const rtl::TClassInfo* componentClass, const std::string& editor,
                                             TqlrComponentEditorClass create)
{
    FItems.push_back(Item{componentClass, editor, std::move(create)});
}

void TqlrComponentEditorCollection::UnRegister(const std::string& editor)
{
    std::erase_if(FItems, [&](const Item& it) { return it.Editor == editor; });
}

std::unique_ptr<TqlrComponentEditor> TqlrComponentEditorCollection::GetComponentEditor(
    rtl::TComponent* component, void* designer, gui::TMenu* menu) const
{
    if (!component) return nullptr;
    const rtl::TClassInfo* cls = component->ClassType();
    const Item* found = nullptr;
    for (const Item& it : FItems)
        if (it.ComponentClass == cls) {
            found = &it;
            break;
        }
    if (!found)
        for (auto it = FItems.rbegin(); it != FItems.rend(); ++it)
            if (it->ComponentClass && cls && cls->InheritsFrom(*it->ComponentClass)) {
                found = &*it;
                break;
            }
    if (!found || !found->Create) return nullptr;
    return found->Create(component, designer, menu);
}

// ---------------------------------------------------------------- property editors

void TqlrPropertyEditor::AddObject(rtl::TObject* obj, const rtl::TPropInfo* prop)
{
    FCompList.push_back(obj);
    FPropList.push_back(prop);
}

std::string TqlrPropertyEditor::GetName()
{
    const rtl::TPropInfo* p = FirstPropInfo();
    return p ? p->Name() : std::string();
}

void TqlrPropertyEditor::GetValues()
{
    FValues.Clear();
    FValues.SetSorted(GetAttributes().Contains(TqlrPropertyAttribute::paSortList));
}

bool TqlrPropertyEditor::Edit()
{
    GetValues();
    if (FValues.Count() == 0) return false;
    int i = FValues.IndexOf(GetValue());
    int next = (i < 0 || i + 1 >= FValues.Count()) ? 0 : i + 1;
    SetValue(FValues[next]);
    return true;
}

void TqlrPropertyEditor::OnDrawLBItem(gui::TCanvas* canvas, int index, const gui::TRect& r)
{
    canvas->FillRect(r);
    if (index >= 0 && index < FValues.Count()) canvas->TextOut(r.Left + FItemHeight + 4, r.Top + 1, FValues[index]);
    canvas->Pen()->SetColor(0x808080);
}

void TqlrPropertyEditor::OnDrawItem(gui::TCanvas* canvas, const gui::TRect& r)
{
    canvas->TextOut(r.Left + FItemHeight - 2, r.Top, GetValue());
    canvas->Pen()->SetColor(0x808080);
}

rtl::TObject* TqlrPropertyEditor::FirstComponent() const { return FCompList.empty() ? nullptr : FCompList[0]; }

const rtl::TPropInfo* TqlrPropertyEditor::FirstPropInfo() const
{
    return FPropList.empty() ? nullptr : FPropList[0];
}

long double TqlrPropertyEditor::ReadFloatValue() const { return FirstPropInfo()->GetFloat(FirstComponent()); }
int64_t TqlrPropertyEditor::ReadOrdValue() const { return FirstPropInfo()->GetOrd(FirstComponent()); }
std::string TqlrPropertyEditor::ReadStrValue() const { return FirstPropInfo()->GetStr(FirstComponent()); }

void TqlrPropertyEditor::WriteFloatValue(long double value)
{
    for (std::size_t i = 0; i < FCompList.size(); ++i)
        if (FPropList[i]->IsWritable()) FPropList[i]->SetFloat(FCompList[i], value);
}

void TqlrPropertyEditor::WriteOrdValue(int64_t value)
{
    for (std::size_t i = 0; i < FCompList.size(); ++i)
        if (FPropList[i]->IsWritable()) FPropList[i]->SetOrd(FCompList[i], value);
}

void TqlrPropertyEditor::WriteStrValue(const std::string& value)
{
    for (std::size_t i = 0; i < FCompList.size(); ++i)
        if (FPropList[i]->IsWritable()) FPropList[i]->SetStr(FCompList[i], value);
}

void TqlrPropertyEditorCollection::Register(const rtl::TTypeInfo* propertyType,
                                            const rtl::TClassInfo* componentClass,
                                            const std::string& propertyName, const std::string& editor,
                                            TqlrPropertyEditorClass create)
{
    FItems.push_back(Item{propertyType, componentClass, propertyName, editor, std::move(create)});
}

void TqlrPropertyEditorCollection::RegisterEventEditor(const std::string& editor, TqlrPropertyEditorClass create)
{
    Register(nullptr, nullptr, "", editor, std::move(create));
    FEventEditorItem = Count() - 1;
}

void TqlrPropertyEditorCollection::UnRegister(const std::string& editor)
{
    std::erase_if(FItems, [&](const Item& it) { return it.Editor == editor; });
}

int TqlrPropertyEditorCollection::GetPropertyEditor(const rtl::TTypeInfo* propertyType,
                                                    const rtl::TObject* component,
                                                    std::string_view propertyName) const
{
    if (propertyType) {
        std::string name = rtl::LowerCase(propertyType->Name());
        std::size_t ev = name.find("event");
        if (name.starts_with("tqlr") && ev != std::string::npos && ev + 5 == name.size())
            return FEventEditorItem;
    }
    const rtl::TClassInfo* cls = component ? component->ClassType() : nullptr;
    int remembered = -1;
    for (int i = Count() - 1; i >= 0; --i) {
        const Item& it = FItems[static_cast<std::size_t>(i)];
        if (!it.ComponentClass) {
            if (it.PropertyType != propertyType) continue;
            if (it.PropertyName.empty())
                remembered = i;
            else if (rtl::SameText(it.PropertyName, propertyName))
                return i;
        } else if (cls && cls->InheritsFrom(*it.ComponentClass) && rtl::SameText(it.PropertyName, propertyName)) {
            return i;
        }
    }
    return remembered;
}

// ---------------------------------------------------------------- export filters

void TqlrExportFilterCollection::Register(TqlrCustomExportFilter* filter)
{
    if (!filter || std::find(FItems.begin(), FItems.end(), filter) != FItems.end()) return;
    FItems.push_back(filter);
}

void TqlrExportFilterCollection::Unregister(TqlrCustomExportFilter* filter) { std::erase(FItems, filter); }

// ---------------------------------------------------------------- globals

TqlrObjectCollection& GetObjectCollection()
{
    static TqlrObjectCollection registry;
    return registry;
}

TqlrComponentEditorCollection& GetComponentEditorCollection()
{
    static TqlrComponentEditorCollection registry;
    return registry;
}

TqlrPropertyEditorCollection& GetPropertyEditorCollection()
{
    static TqlrPropertyEditorCollection registry;
    return registry;
}

TqlrExportFilterCollection& GetExportFilterCollection()
{
    static TqlrExportFilterCollection registry;
    return registry;
}

} // namespace qlr
