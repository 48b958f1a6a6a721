#include "platform/gui/GuiClassInfo.h"

#include "platform/gui/Controls.h"
#include "platform/gui/DataModules.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/FormsTypInfo.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Metafile.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/TypInfo.h"

namespace gui {

// Type information of the enumerations and sets the published properties
// use (value names in declaration order).
RTL_ENUM(TFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
RTL_SET(TFontStyles, TFontStyle)
RTL_ENUM(TFontPitch, "fpDefault", "fpVariable", "fpFixed")
RTL_ENUM(TPenStyle, "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame")
RTL_ENUM(TPenMode, "pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmMergePenNot", "pmMaskPenNot",
         "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor")
RTL_ENUM(TBrushStyle, "bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross",
         "bsDiagCross")
RTL_ENUM(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom")
RTL_ENUM(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
RTL_SET(TAnchors, TAnchorKind)
RTL_ENUM(TAlignment, "taLeftJustify", "taRightJustify", "taCenter")
RTL_ENUM(TTextLayout, "tlTop", "tlCenter", "tlBottom")
RTL_ENUM(TCheckBoxState, "cbUnchecked", "cbChecked", "cbGrayed")
RTL_ENUM(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
RTL_SET(TBorderIcons, TBorderIcon)
RTL_ENUM(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
         "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist",
         "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton",
         "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
         "ofDontAddToRecent", "ofForceShowHidden")
RTL_SET(TOpenOptions, TOpenOption)
RTL_ENUM(TPrintRange, "prAllPages", "prSelection", "prPageNums")

namespace {

using rtl::TClassDecl;
using rtl::TClassInfo;

template <typename C>
const TClassInfo& Describe(const char* name, const TClassInfo& parent, void (*declare)(TClassDecl<C>&) = nullptr)
{
    return TClassDecl<C>::Build(name, &parent, declare);
}

// Plain data members published with a setter that stores the value.
template <typename C, typename T>
auto Store(T C::*member)
{
    return [member](C& o, T v) { o.*member = std::move(v); };
}

struct TDescriptors {
    TDescriptors()
    {
        const TClassInfo& persistent = rtl::TPersistent::StaticClassInfo();
        const TClassInfo& component = rtl::TComponent::StaticClassInfo();

        const TClassInfo& font = Describe<TFont>("TFont", persistent, [](TClassDecl<TFont>& c) {
            c.Property("Charset", &TFont::Charset, &TFont::SetCharset);
            c.Property("Color", &TFont::Color, &TFont::SetColor).As(rtl::TypeInfoInteger());
            c.Property("Height", &TFont::Height, &TFont::SetHeight);
            c.Property("Name", &TFont::Name, &TFont::SetName);
            c.Property("Orientation", &TFont::Orientation, &TFont::SetOrientation);
            c.Property("Pitch", &TFont::Pitch, &TFont::SetPitch);
            c.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
            c.Property("Style", &TFont::Style, &TFont::SetStyle);
        });
        Describe<TPen>("TPen", persistent, [](TClassDecl<TPen>& c) {
            c.Property("Color", &TPen::Color, &TPen::SetColor).As(rtl::TypeInfoInteger());
            c.Property("Mode", &TPen::Mode, &TPen::SetMode);
            c.Property("Style", &TPen::Style, &TPen::SetStyle);
            c.Property("Width", &TPen::Width, &TPen::SetWidth);
        });
        Describe<TBrush>("TBrush", persistent, [](TClassDecl<TBrush>& c) {
            c.Property("Color", &TBrush::Color, &TBrush::SetColor).As(rtl::TypeInfoInteger());
            c.Property("Style", &TBrush::Style, &TBrush::SetStyle);
        });
        const TClassInfo& canvas = Describe<TCanvas>("TCanvas", persistent, [](TClassDecl<TCanvas>& c) {
            c.Property("Brush", &TCanvas::Brush, &TCanvas::SetBrush);
            c.Property("Font", &TCanvas::Font, &TCanvas::SetFont);
            c.Property("Pen", &TCanvas::Pen, &TCanvas::SetPen);
        });
        const TClassInfo& graphic = Describe<TGraphic>("TGraphic", persistent, [](TClassDecl<TGraphic>& c) {
            c.Property("Empty", &TGraphic::Empty);
            c.Property("Height", &TGraphic::Height, &TGraphic::SetHeight);
            c.Property("Modified", &TGraphic::Modified, &TGraphic::SetModified);
            c.Property("Transparent", &TGraphic::Transparent, &TGraphic::SetTransparent);
            c.Property("Width", &TGraphic::Width, &TGraphic::SetWidth);
        });
        Describe<TBitmap>("TBitmap", graphic, [](TClassDecl<TBitmap>& c) {
            c.Property("Canvas", [](TBitmap& b) { return b.Canvas(); });
            c.Property("Monochrome", &TBitmap::Monochrome);
            c.Property("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor)
                .As(rtl::TypeInfoInteger());
        });
        Describe<TMetafile>("TMetafile", graphic);
        Describe<TMetafileCanvas>("TMetafileCanvas", canvas);
        Describe<TPicture>("TPicture", persistent, [](TClassDecl<TPicture>& c) {
            c.Property("Bitmap", [](TPicture& p) { return p.Bitmap(); });
            c.Property("Graphic", &TPicture::Graphic, &TPicture::SetGraphic);
            c.Property("Height", &TPicture::Height);
            c.Property("Width", &TPicture::Width);
            c.Event("OnChange", &TPicture::OnChange);
        });

        const TClassInfo& control = Describe<TControl>("TControl", component, [](TClassDecl<TControl>& c) {
            c.Property("Align", &TControl::Align, &TControl::SetAlign);
            c.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors);
            c.Property("Caption", &TControl::Caption, &TControl::SetCaption);
            c.Property("Color", &TControl::Color, &TControl::SetColor).As(rtl::TypeInfoInteger());
            c.Property("Cursor", &TControl::Cursor, &TControl::SetCursor);
            c.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled);
            c.Property("Font", &TControl::Font, &TControl::SetFont);
            c.Property("Height", &TControl::Height, &TControl::SetHeight);
            c.Property("Hint", &TControl::Hint, &TControl::SetHint);
            c.Property("Left", &TControl::Left, &TControl::SetLeft);
            c.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor);
            c.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont);
            c.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint);
            c.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint);
            c.Property("Top", &TControl::Top, &TControl::SetTop);
            c.Property("Visible", &TControl::Visible, &TControl::SetVisible);
            c.Property("Width", &TControl::Width, &TControl::SetWidth);
            c.Event("OnCanResize", &TControl::OnCanResize);
            c.Event("OnClick", &TControl::OnClick);
            c.Event("OnDblClick", &TControl::OnDblClick);
            c.Event("OnMouseDown", &TControl::OnMouseDown);
            c.Event("OnMouseMove", &TControl::OnMouseMove);
            c.Event("OnMouseUp", &TControl::OnMouseUp);
            c.Event("OnResize", &TControl::OnResize);
        });
        const TClassInfo& win = Describe<TWinControl>("TWinControl", control, [](TClassDecl<TWinControl>& c) {
            c.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
            c.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
            c.Event("OnEnter", &TWinControl::OnEnter);
            c.Event("OnExit", &TWinControl::OnExit);
            c.Event("OnKeyDown", &TWinControl::OnKeyDown);
            c.Event("OnKeyPress", &TWinControl::OnKeyPress);
            c.Event("OnKeyUp", &TWinControl::OnKeyUp);
        });
        const TClassInfo& graphicControl = Describe<TGraphicControl>("TGraphicControl", control);
        Describe<TCustomControl>("TCustomControl", win);
        const TClassInfo& label = Describe<TCustomLabel>("TCustomLabel", graphicControl,
                                                         [](TClassDecl<TCustomLabel>& c) {
            c.Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment);
            c.Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout);
            c.Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap);
        });
        Describe<TLabel>("TLabel", label);
        const TClassInfo& buttonControl = Describe<TButtonControl>("TButtonControl", win);
        Describe<TButton>("TButton", buttonControl, [](TClassDecl<TButton>& c) {
            c.Property("Cancel", &TButton::Cancel, &TButton::SetCancel);
            c.Property("Default", &TButton::Default, &TButton::SetDefault);
            c.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
        });
        Describe<TCheckBox>("TCheckBox", buttonControl, [](TClassDecl<TCheckBox>& c) {
            c.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment);
            c.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked);
            c.Property("State", &TCheckBox::State, &TCheckBox::SetState);
        });
        Describe<TRadioButton>("TRadioButton", buttonControl, [](TClassDecl<TRadioButton>& c) {
            c.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
        });
        const TClassInfo& edit = Describe<TCustomEdit>("TCustomEdit", win, [](TClassDecl<TCustomEdit>& c) {
            c.Property("Alignment", &TCustomEdit::Alignment, &TCustomEdit::SetAlignment);
            c.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength);
            c.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly);
            c.Property("Text", &TCustomEdit::Text, &TCustomEdit::SetText);
            c.Event("OnChange", &TCustomEdit::OnChange);
        });
        Describe<TEdit>("TEdit", edit);
        Describe<TMemo>("TMemo", edit, [](TClassDecl<TMemo>& c) {
            c.Property("Lines", &TMemo::Lines);
            c.Property("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap);
        });
        Describe<TGroupBox>("TGroupBox", win);
        const TClassInfo& combo = Describe<TCustomComboBox>("TCustomComboBox", win, [](TClassDecl<TCustomComboBox>& c) {
            c.Property("Items", &TCustomComboBox::Items);
            c.Property("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength);
            c.Property("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText);
            c.Event("OnChange", &TCustomComboBox::OnChange);
            c.Event("OnCloseUp", &TCustomComboBox::OnCloseUp);
            c.Event("OnDropDown", &TCustomComboBox::OnDropDown);
        });
        Describe<TComboBox>("TComboBox", combo);
        const TClassInfo& list = Describe<TCustomListBox>("TCustomListBox", win, [](TClassDecl<TCustomListBox>& c) {
            c.Property("Items", &TCustomListBox::Items);
        });
        Describe<TListBox>("TListBox", list);
        Describe<TControlScrollBar>("TControlScrollBar", persistent);
        const TClassInfo& scrolling = Describe<TScrollingWinControl>("TScrollingWinControl", win);
        Describe<TScrollBox>("TScrollBox", scrolling);
        const TClassInfo& form = Describe<TCustomForm>("TCustomForm", scrolling, [](TClassDecl<TCustomForm>& c) {
            c.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons);
            c.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle);
            c.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle);
            c.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview);
            c.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition);
            c.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState);
            c.Event("OnActivate", &TCustomForm::OnActivate);
            c.Event("OnClose", &TCustomForm::OnClose);
            c.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
            c.Event("OnCreate", &TCustomForm::OnCreate);
            c.Event("OnDeactivate", &TCustomForm::OnDeactivate);
            c.Event("OnDestroy", &TCustomForm::OnDestroy);
            c.Event("OnHide", &TCustomForm::OnHide);
            c.Event("OnPaint", &TCustomForm::OnPaint);
            c.Event("OnShow", &TCustomForm::OnShow);
        });
        Describe<TForm>("TForm", form);
        Describe<TDataModule>("TDataModule", component, [](TClassDecl<TDataModule>& c) {
            c.Event("OnCreate", &TDataModule::OnCreate);
            c.Event("OnDestroy", &TDataModule::OnDestroy);
        });
        Describe<TApplication>("TApplication", component, [](TClassDecl<TApplication>& c) {
            c.Property("HintColor", &TApplication::HintColor, &TApplication::SetHintColor).As(rtl::TypeInfoInteger());
            c.Property("ShowHint", &TApplication::ShowHint, &TApplication::SetShowHint);
            c.Property("Title", &TApplication::Title, &TApplication::SetTitle);
        });

        const TClassInfo& common = Describe<TCommonDialog>("TCommonDialog", component, [](TClassDecl<TCommonDialog>& c) {
            c.Event("OnClose", &TCommonDialog::OnClose);
            c.Event("OnShow", &TCommonDialog::OnShow);
        });
        const TClassInfo& open = Describe<TOpenDialog>("TOpenDialog", common, [](TClassDecl<TOpenDialog>& c) {
            c.Property("DefaultExt", &TOpenDialog::DefaultExt, Store(&TOpenDialog::DefaultExt));
            c.Property("FileName", &TOpenDialog::FileName, Store(&TOpenDialog::FileName));
            c.Property("Filter", &TOpenDialog::Filter, Store(&TOpenDialog::Filter));
            c.Property("FilterIndex", &TOpenDialog::FilterIndex, Store(&TOpenDialog::FilterIndex));
            c.Property("InitialDir", &TOpenDialog::InitialDir, Store(&TOpenDialog::InitialDir));
            c.Property("Options", &TOpenDialog::Options, Store(&TOpenDialog::Options));
            c.Property("Title", &TOpenDialog::Title, Store(&TOpenDialog::Title));
        });
        Describe<TSaveDialog>("TSaveDialog", open);
        Describe<TColorDialog>("TColorDialog", common, [](TClassDecl<TColorDialog>& c) {
            c.Property("Color", &TColorDialog::Color, Store(&TColorDialog::Color)).As(rtl::TypeInfoInteger());
        });
        Describe<TFontDialog>("TFontDialog", common, [](TClassDecl<TFontDialog>& c) {
            c.Property("Font", &TFontDialog::Font, &TFontDialog::SetFont);
        });
        Describe<TPrintDialog>("TPrintDialog", common, [](TClassDecl<TPrintDialog>& c) {
            c.Property("Collate", &TPrintDialog::Collate, Store(&TPrintDialog::Collate));
            c.Property("Copies", &TPrintDialog::Copies, Store(&TPrintDialog::Copies));
            c.Property("FromPage", &TPrintDialog::FromPage, Store(&TPrintDialog::FromPage));
            c.Property("MaxPage", &TPrintDialog::MaxPage, Store(&TPrintDialog::MaxPage));
            c.Property("MinPage", &TPrintDialog::MinPage, Store(&TPrintDialog::MinPage));
            c.Property("PrintRange", &TPrintDialog::PrintRange, Store(&TPrintDialog::PrintRange));
            c.Property("ToPage", &TPrintDialog::ToPage, Store(&TPrintDialog::ToPage));
        });
        Describe<TPrinterSetupDialog>("TPrinterSetupDialog", common);
        (void)font;
    }
};

} // namespace

void DescribeGuiClasses()
{
    static const TDescriptors descriptors;
    (void)descriptors;
}

} // namespace gui
