// Report objects for character printers: a page, a text object, a line and
// a raw printer command whose positions and sizes snap to a grid of
// character cells 9.6 report units wide and 17 high.  They lay out and draw
// on screen only; no export filter prints them here.
//
// The rule a caller must know: the setters snap (Left 10 becomes 9.6);
// SetBoundsDirect places an object without snapping.
//
// Example:
//   auto* page = new qlr::TqlrDMPPage(report);
//   auto* memo = new qlr::TqlrDMPMemoView(page);
//   memo->SetLeft(14.5);                    // 19.2
//   qlr::TqlrDMPCommand::ToChr("#27#64");   // "\x1B@"
#pragma once

#include <string>

#include "report/qlrClass.h"

namespace qlr {

enum class TqlrDMPFontStyle {
    fsxBold, fsxItalic, fsxUnderline, fsxSuperScript, fsxSubScript, fsxCondensed, fsxWide, fsx12cpi, fsx15cpi
};
using TqlrDMPFontStyles = rtl::Set<TqlrDMPFontStyle, 16>;
RTL_ENUM(TqlrDMPFontStyle, "fsxBold", "fsxItalic", "fsxUnderline", "fsxSuperScript", "fsxSubScript",
         "fsxCondensed", "fsxWide", "fsx12cpi", "fsx15cpi")
RTL_SET(TqlrDMPFontStyles, TqlrDMPFontStyle)

class TqlrDMPPage : public TqlrReportPage {
    RTL_CLASS(TqlrDMPPage, TqlrReportPage)
public:
    explicit TqlrDMPPage(rtl::TComponent* owner);
    const TqlrDMPFontStyles& FontStyle() const { return FFontStyle; }
    // Every object on the page that follows the parent's font takes it.
    void SetFontStyle(const TqlrDMPFontStyles& v);
    void SetPaperWidth(long double v) override;
    void SetPaperHeight(long double v) override;
    void SetPaperSize(int v) override;
    void SetDefaults() override;

private:
    void ResetFontOptions();
    void SnapPaper();
    TqlrDMPFontStyles FFontStyle;
};

class TqlrDMPMemoView : public TqlrCustomMemoView {
    RTL_CLASS(TqlrDMPMemoView, TqlrCustomMemoView)
public:
    explicit TqlrDMPMemoView(rtl::TComponent* owner);
    const TqlrDMPFontStyles& FontStyle() const { return FFontStyle; }
    void SetFontStyle(const TqlrDMPFontStyles& v);
    bool TruncOutboundText = false;
    void SetLeft(long double value) override;
    void SetTop(long double value) override;
    void SetWidth(long double value) override;
    void SetHeight(long double value) override;
    void SetParentFont(bool value) override;
    void SetBoundsDirect(long double aLeft, long double aTop, long double aWidth, long double aHeight);
    long double CalcHeight() override;
    long double CalcWidth() override;
    std::string Diff(TqlrComponent* aComponent) override;
    std::string GetDescription() const override;
    // The text cut to the object's cells, each line followed by CR LF.
    std::string GetoutBoundText() const;
    // Takes its font from the character-printer attributes.
    void ResetFontOptions();

protected:
    void PaintFrame() override;

private:
    TqlrDMPFontStyles FFontStyle;
};

class TqlrDMPLineView : public TqlrCustomLineView {
    RTL_CLASS(TqlrDMPLineView, TqlrCustomLineView)
public:
    using TqlrCustomLineView::TqlrCustomLineView;
    const TqlrDMPFontStyles& FontStyle() const { return FFontStyle; }
    void SetFontStyle(const TqlrDMPFontStyles& v);
    void SetLeft(long double value) override;
    void SetTop(long double value) override;
    void SetWidth(long double value) override;
    void SetParentFont(bool value) override;
    std::string Diff(TqlrComponent* aComponent) override;
    std::string GetDescription() const override;

private:
    TqlrDMPFontStyles FFontStyle;
};

class TqlrDMPCommand : public TqlrView {
    RTL_CLASS(TqlrDMPCommand, TqlrView)
public:
    using TqlrView::TqlrView;
    const std::string& Command() const { return FCommand; }
    void SetCommand(const std::string& v) { FCommand = v; }
    void SetLeft(long double value) override;
    void SetTop(long double value) override;
    std::string Diff(TqlrComponent* aComponent) override;
    std::string GetDescription() const override;
    // The command's bytes: "#27#64" (decimal codes) or "1B40" (hexadecimal
    // pairs, a last single digit dropped).  Bad codes raise EConvertError.
    std::string ToChr() const { return ToChr(FCommand); }
    static std::string ToChr(const std::string& command);

private:
    std::string FCommand;
};

// Registers the page class for reading and the three objects in the object
// registry (category ctDMP); once.
void RegisterDMPClasses();

} // namespace qlr
