// The registries of report classes, component editors, property editors
// and export filters, and the base property editor's value stepping.
#include <gtest/gtest.h>

#include "platform/gui/Menus.h"
#include "platform/rtl/TypInfo.h"
#include "report/qlrClass.h"
#include "report/qlrDsgnIntf.h"

using namespace qlr;

namespace dsgntest {

// Classes of the test's own beside the report's data set and dialog
// control (the categories go by ancestry).
class TTestUserDataSet : public qlr::TqlrDataSet {
    RTL_CLASS(TTestUserDataSet, qlr::TqlrDataSet)
    using qlr::TqlrDataSet::TqlrDataSet;
};
class TTestView : public rtl::TComponent {
    RTL_CLASS(TTestView, rtl::TComponent)
    using rtl::TComponent::TComponent;
};
class TTestMemo : public TTestView {
    RTL_CLASS(TTestMemo, TTestView)
    using TTestView::TTestView;
};
class TTestRichMemo : public TTestMemo {
    RTL_CLASS(TTestRichMemo, TTestMemo)
    using TTestMemo::TTestMemo;
};

RTL_PUBLISHED(TTestUserDataSet) {}
RTL_PUBLISHED(TTestView) {}
RTL_PUBLISHED(TTestMemo) {}
RTL_PUBLISHED(TTestRichMemo) {}

// An editor that says which registration made it.
class TNamedEditor : public TqlrComponentEditor {
public:
    TNamedEditor(rtl::TComponent* c, void* d, gui::TMenu* m, std::string name)
        : TqlrComponentEditor(c, d, m), Name(std::move(name)) {}
    void GetMenuItems() override { AddMenuItem("Edit " + Name, 7, true); }
    std::string Name;
};

TqlrComponentEditorClass Named(const std::string& name)
{
    return [name](rtl::TComponent* c, void* d, gui::TMenu* m) {
        return std::make_unique<TNamedEditor>(c, d, m, name);
    };
}

TqlrPropertyEditorClass NoEditor()
{
    return [](void* d) { return std::make_unique<TqlrPropertyEditor>(d); };
}

// A value-list editor over a string property.
class TChoiceEditor : public TqlrPropertyEditor {
public:
    using TqlrPropertyEditor::TqlrPropertyEditor;
    TqlrPropertyAttributes GetAttributes() override { return {TqlrPropertyAttribute::paValueList}; }
    std::string GetValue() override { return ReadStrValue(); }
    void SetValue(const std::string& v) override { WriteStrValue(v); }
    void GetValues() override
    {
        TqlrPropertyEditor::GetValues();
        for (const char* v : {"alpha", "beta", "gamma"}) AddListValue(v);
    }
};

class TChoiceHolder : public rtl::TComponent {
    RTL_CLASS(TChoiceHolder, rtl::TComponent)
    using rtl::TComponent::TComponent;
    const std::string& Choice() const { return FChoice; }
    void SetChoice(const std::string& v) { FChoice = v; }
    std::string FChoice;
};
RTL_PUBLISHED(TChoiceHolder) { c.Property("Choice", &TChoiceHolder::Choice, &TChoiceHolder::SetChoice); }

} // namespace dsgntest

using namespace dsgntest;

TEST(ReportRegistries, ObjectsOncePerFlagsAndCategoriesByAncestry)
{
    TqlrObjectCollection objects;
    objects.RegisterObject(&TTestMemo::StaticClassInfo(), nullptr, "");
    objects.RegisterObject(&TTestMemo::StaticClassInfo(), nullptr, "again");
    EXPECT_EQ(objects.Count(), 1);
    objects.RegisterObject1(&TTestMemo::StaticClassInfo(), nullptr, "", "", 1, -1, {});
    EXPECT_EQ(objects.Count(), 2);
    objects.RegisterObject(&TTestUserDataSet::StaticClassInfo(), nullptr, "");
    objects.RegisterObject(&TqlrDialogControl::StaticClassInfo(), nullptr, "");
    objects.RegisterObject1(&TTestView::StaticClassInfo(), nullptr, "", "", 0, 42,
                            {TqlrObjectCategory::ctReport, TqlrObjectCategory::ctDMP});
    objects.RegisterCategory("Other", nullptr, "Other objects", 5);

    using C = TqlrObjectCategories;
    EXPECT_EQ(objects.GetItem(0).Category, C{TqlrObjectCategory::ctReport});
    EXPECT_EQ(objects.GetItem(2).Category, C{TqlrObjectCategory::ctData});
    EXPECT_EQ(objects.GetItem(3).Category, C{TqlrObjectCategory::ctDialog});
    EXPECT_EQ(objects.GetItem(4).Category, (C{TqlrObjectCategory::ctReport, TqlrObjectCategory::ctDMP}));
    EXPECT_EQ(objects.GetItem(4).ButtonImageIndex, 42);
    EXPECT_TRUE(objects.GetItem(5).Category.Empty());   // a category entry
    EXPECT_EQ(objects.GetItem(5).ButtonHint, "Other objects");
    EXPECT_EQ(&rtl::FindClass("TTestMemo"), &TTestMemo::StaticClassInfo());  // streamable now

    objects.Unregister(&TTestMemo::StaticClassInfo());
    EXPECT_EQ(objects.Count(), 4);
}

TEST(ReportRegistries, ComponentEditorExactBeforeAncestorLastAncestorWins)
{
    TqlrComponentEditorCollection editors;
    EXPECT_EQ(editors.GetComponentEditor(nullptr, nullptr, nullptr), nullptr);
    editors.Register(&TTestView::StaticClassInfo(), "TViewEditor", Named("view"));
    editors.Register(&TTestMemo::StaticClassInfo(), "TMemoEditor", Named("memo"));
    editors.Register(&TTestView::StaticClassInfo(), "TViewEditor2", Named("view2"));

    TTestMemo memo(nullptr);
    TTestRichMemo rich(nullptr);
    TTestView view(nullptr);
    TqlrDialogControl other(nullptr);
    auto name = [&](rtl::TComponent* c) {
        auto e = editors.GetComponentEditor(c, nullptr, nullptr);
        return e ? static_cast<TNamedEditor*>(e.get())->Name : std::string("none");
    };
    EXPECT_EQ(name(&memo), "memo");      // exact class
    EXPECT_EQ(name(&view), "view");      // exact: the first registered
    EXPECT_EQ(name(&rich), "view2");     // ancestors: the last registered
    EXPECT_EQ(name(&other), "none");
    editors.UnRegister("TViewEditor2");
    EXPECT_EQ(name(&rich), "memo");

    gui::TMenu menu(nullptr);
    auto e = editors.GetComponentEditor(&memo, nullptr, &menu);
    e->GetMenuItems();
    ASSERT_EQ(menu.Items()->Count(), 1);
    EXPECT_EQ(menu.Items()->Items(0)->Caption(), "Edit memo");
    EXPECT_EQ(menu.Items()->Items(0)->Tag(), 7);
    EXPECT_TRUE(menu.Items()->Items(0)->Checked());
    EXPECT_FALSE(e->Edit());
    EXPECT_FALSE(e->HasEditor());
}

TEST(ReportRegistries, PropertyEditorLookupRules)
{
    TqlrPropertyEditorCollection props;
    const rtl::TTypeInfo* str = rtl::TypeInfoAnsiString();
    const rtl::TTypeInfo* integer = rtl::TypeInfoInteger();
    props.Register(str, nullptr, "", "TStringA", NoEditor());                       // 0
    props.Register(str, nullptr, "", "TStringB", NoEditor());                       // 1
    props.Register(str, nullptr, "Name", "TNameEditor", NoEditor());                // 2
    props.Register(integer, &TTestMemo::StaticClassInfo(), "Charset", "TCs", NoEditor());  // 3
    props.RegisterEventEditor("TEventEditor", NoEditor());                          // 4
    static const rtl::TTypeInfo eventType = rtl::TTypeInfo::Make("TqlrClickEvent", rtl::TTypeKind::tkMethod);
    static const rtl::TTypeInfo eventsType = rtl::TTypeInfo::Make("TqlrEventList", rtl::TTypeKind::tkClass);

    TTestRichMemo rich(nullptr);
    TTestView view(nullptr);
    EXPECT_EQ(props.GetPropertyEditor(str, &view, "Caption"), 0);   // the earliest bare-type entry
    EXPECT_EQ(props.GetPropertyEditor(str, &view, "name"), 2);      // type and name
    EXPECT_EQ(props.GetPropertyEditor(integer, &rich, "CHARSET"), 3);  // class by ancestry, any type
    EXPECT_EQ(props.GetPropertyEditor(integer, &view, "Charset"), -1);
    EXPECT_EQ(props.GetPropertyEditor(&eventType, &view, "OnClick"), 4);
    EXPECT_EQ(props.GetPropertyEditor(&eventsType, &view, "Events"), -1);
    props.UnRegister("TStringA");
    EXPECT_EQ(props.GetPropertyEditor(str, &view, "Caption"), 0);   // TStringB moved up
    EXPECT_EQ(props.GetItem(0).Editor, "TStringB");
}

TEST(ReportRegistries, ExportFiltersOnceEach)
{
    TqlrExportFilterCollection filters;
    auto* a = reinterpret_cast<TqlrCustomExportFilter*>(0x1000);
    auto* b = reinterpret_cast<TqlrCustomExportFilter*>(0x2000);
    filters.Register(a);
    filters.Register(a);
    filters.Register(nullptr);
    filters.Register(b);
    EXPECT_EQ(filters.Count(), 2);
    filters.Unregister(reinterpret_cast<TqlrCustomExportFilter*>(0x3000));   // not registered
    EXPECT_EQ(filters.Count(), 2);
    filters.Unregister(a);
    ASSERT_EQ(filters.Count(), 1);
    EXPECT_EQ(filters.GetItem(0), b);
}

TEST(ReportRegistries, ValueListEditStepsAndWraps)
{
    TChoiceHolder h1(nullptr), h2(nullptr);
    const rtl::TPropInfo* prop = TChoiceHolder::StaticClassInfo().FindProperty("Choice");
    TChoiceEditor editor(nullptr);
    editor.AddObject(&h1, prop);
    editor.AddObject(&h2, prop);
    EXPECT_EQ(editor.GetName(), "Choice");
    h1.SetChoice("unknown");
    const char* expected[] = {"alpha", "beta", "gamma", "alpha"};
    for (const char* e : expected) {
        EXPECT_TRUE(editor.Edit());
        EXPECT_EQ(h1.Choice(), e);
        EXPECT_EQ(h2.Choice(), e);     // every edited object
    }
    TqlrPropertyEditor plain(nullptr);
    EXPECT_FALSE(plain.Edit());        // no values
    EXPECT_EQ(plain.GetValue(), "(Unknown)");
    EXPECT_EQ(plain.GetExtraLBSize(), 2);
}
