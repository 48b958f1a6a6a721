// The standard property editors of report objects: value texts, value
// lists and setting from text for integers, strings, names, colours, fonts,
// font names and character sets, modal results, shortcuts, cursors, dates
// and times.  No designer exists in this program; the editors are
// registered at start-up so that the property-editor registry answers as
// the report classes expect.
//
// The rule a caller must know: an editor works on the objects added with
// AddObject (all of the same class and property); values are read from the
// first and written to every one.
//
//   qlr::TqlrColorProperty e(nullptr);
//   e.AddObject(memo, rtl::GetPropInfo(memo, "Color"));
//   e.GetValue();          // "clRed"
//   e.SetValue("clNavy");  // every added memo turns navy
#pragma once

#include <memory>
#include <string>

#include "report/qlrDsgnIntf.h"

namespace rtl {
struct TTypeInfo;
}

namespace qlr {

class TqlrIntegerProperty : public TqlrPropertyEditor {
public:
    using TqlrPropertyEditor::TqlrPropertyEditor;
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
};

class TqlrStringProperty : public TqlrPropertyEditor {
public:
    using TqlrPropertyEditor::TqlrPropertyEditor;
    std::string GetValue() override { return ReadStrValue(); }
    void SetValue(const std::string& value) override { WriteStrValue(value); }
};

class TqlrClassProperty : public TqlrPropertyEditor {
public:
    using TqlrPropertyEditor::TqlrPropertyEditor;
    TqlrPropertyAttributes GetAttributes() override;
    // "(" + the property type's name + ")".
    std::string GetValue() override;
};

class TqlrNameProperty : public TqlrStringProperty {
public:
    using TqlrStringProperty::TqlrStringProperty;
    TqlrPropertyAttributes GetAttributes() override { return {}; }
};

class TqlrColorProperty : public TqlrIntegerProperty {
public:
    using TqlrIntegerProperty::TqlrIntegerProperty;
    TqlrPropertyAttributes GetAttributes() override;
    // "clRed", or the number for a colour without identifier.
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
    void GetValues() override;
    // The colour dialog preset to the value; the chosen colour is set.
    bool Edit() override;
    // The inherited item, then a square filled with the item's colour.
    void OnDrawLBItem(gui::TCanvas* canvas, int index, const gui::TRect& r) override;
    // The inherited text, then a square filled with the current colour.
    void OnDrawItem(gui::TCanvas* canvas, const gui::TRect& r) override;
};

class TqlrFontProperty : public TqlrClassProperty {
public:
    using TqlrClassProperty::TqlrClassProperty;
    TqlrPropertyAttributes GetAttributes() override;
    // The font dialog preset with the font; the chosen font is set.
    bool Edit() override;
};

class TqlrFontNameProperty : public TqlrStringProperty {
public:
    using TqlrStringProperty::TqlrStringProperty;
    TqlrPropertyAttributes GetAttributes() override;
    // The screen's font names.
    void GetValues() override;
};

class TqlrFontCharsetProperty : public TqlrIntegerProperty {
public:
    using TqlrIntegerProperty::TqlrIntegerProperty;
    TqlrPropertyAttributes GetAttributes() override;
    // "RUSSIAN_CHARSET", or the number.
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
    void GetValues() override;
};

class TqlrModalResultProperty : public TqlrIntegerProperty {
public:
    using TqlrIntegerProperty::TqlrIntegerProperty;
    TqlrPropertyAttributes GetAttributes() override;
    // "mrNone" .. "mrYesToAll" for 0..10, else the number.
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
    void GetValues() override;
};

class TqlrShortCutProperty : public TqlrPropertyEditor {
public:
    using TqlrPropertyEditor::TqlrPropertyEditor;
    TqlrPropertyAttributes GetAttributes() override;
    // "Ctrl+A", "(None)" for none.
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
    // "(None)" and the 108 usual shortcuts.
    void GetValues() override;
};

class TqlrCursorProperty : public TqlrIntegerProperty {
public:
    using TqlrIntegerProperty::TqlrIntegerProperty;
    TqlrPropertyAttributes GetAttributes() override;
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
    void GetValues() override;
};

// Dates and times are floating-point day numbers; 0 reads as empty text.
class TqlrDateTimeProperty : public TqlrPropertyEditor {
public:
    using TqlrPropertyEditor::TqlrPropertyEditor;
    std::string GetValue() override;
    // Empty gives 0; unreadable text raises EConvertError.
    void SetValue(const std::string& value) override;
};

class TqlrDateProperty : public TqlrPropertyEditor {
public:
    using TqlrPropertyEditor::TqlrPropertyEditor;
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
};

class TqlrTimeProperty : public TqlrPropertyEditor {
public:
    using TqlrPropertyEditor::TqlrPropertyEditor;
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
};

// The property types the start-up registrations name that have no type of
// their own elsewhere in this program.
const rtl::TTypeInfo* TypeInfoComponentName();
const rtl::TTypeInfo* TypeInfoModalResult();
const rtl::TTypeInfo* TypeInfoShortCut();
const rtl::TTypeInfo* TypeInfoDate();
const rtl::TTypeInfo* TypeInfoTime();

// The eleven start-up registrations (once).
void RegisterStandardPropertyEditors();

} // namespace qlr
