// The tree of report objects: units, the enumerations the classes share,
// TqlrComponent (bounds, font, names, children, copying, the attribute
// text of prepared pages) and TqlrReportComponent.  Part of qlrClass.h.
#pragma once


#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsTypInfo.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/ComponentStream.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Variant.h"
#include "report/qlrExpressionCache.h"

namespace gui {
class TTimer;
} // namespace gui

namespace qlr {

class TqlrReport;
class TqlrPage;
class TqlrReportPage;
class TqlrDialogPage;
class TqlrBand;
class TqlrNullBand;
class TqlrPictureView;
class TqlrDataSet;
class TqlrUserDataSet;
class TqlrXMLSerializer;
class TqlrVariables;
class TqlrXMLItem;
class TqlrStyleItem;
class IqlrProgressWindow;
class IqlrPreviewWindow;

struct TqlrRect {
    long double Left = 0, Top = 0, Right = 0, Bottom = 0;
};
struct TqlrPoint {
    long double X = 0, Y = 0;
};

// Report units per millimetre, centimetre, tenth of an inch and inch.
constexpr long double fr01cm = 3.77953L;
constexpr long double fr1cm = 37.7953L;
constexpr long double fr01in = 9.6L;
constexpr long double fr1in = 96.0L;
// A dot-matrix character cell.
constexpr long double fr1CharX = 9.6L;
constexpr long double fr1CharY = 17.0L;

// X rounded to 8 decimals (ties to even), so that values written and read
// back compare equal.
long double RoundTo8Decimals(long double x);
// |A - B| > 0.0001: the comparison of every Diff.
bool FloatsDiffer(long double a, long double b);
// General float text, 15 significant digits, "." separator.
std::string qlrFloatToStr(long double x);

enum class TqlrRestriction { rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit };
using TqlrRestrictions = rtl::Set<TqlrRestriction, 8>;
RTL_ENUM(TqlrRestriction, "rfDontModify", "rfDontSize", "rfDontMove", "rfDontDelete", "rfDontEdit")
RTL_SET(TqlrRestrictions, TqlrRestriction)

enum class TqlrComponentStyleItem { csContainer, csPreviewVisible, csDefaultDiff };
using TqlrComponentStyle = rtl::Set<TqlrComponentStyleItem, 8>;

enum class TqlrAlign { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
RTL_ENUM(TqlrAlign, "baNone", "baLeft", "baRight", "baCenter", "baWidth", "baBottom", "baClient")
enum class TqlrFrameStyle { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
RTL_ENUM(TqlrFrameStyle, "fsSolid", "fsDash", "fsDot", "fsDashDot", "fsDashDotDot", "fsDouble", "fsAltDot",
         "fsSquare")
enum class TqlrFrameType { ftLeft, ftRight, ftTop, ftBottom };
using TqlrFrameTypes = rtl::Set<TqlrFrameType, 8>;
RTL_ENUM(TqlrFrameType, "ftLeft", "ftRight", "ftTop", "ftBottom")
RTL_SET(TqlrFrameTypes, TqlrFrameType)
enum class TqlrShiftMode { smDontShift, smAlways, smWhenOverlapped };
RTL_ENUM(TqlrShiftMode, "smDontShift", "smAlways", "smWhenOverlapped")
enum class TqlrStretchMode { smDontStretch, smActualHeight, smMaxHeight };
RTL_ENUM(TqlrStretchMode, "smDontStretch", "smActualHeight", "smMaxHeight")
enum class TqlrFormatKind { fkText, fkNumeric, fkDateTime, fkBoolean };
RTL_ENUM(TqlrFormatKind, "fkText", "fkNumeric", "fkDateTime", "fkBoolean")
enum class TqlrRangeBegin { rbFirst, rbCurrent };
RTL_ENUM(TqlrRangeBegin, "rbFirst", "rbCurrent")
enum class TqlrRangeEnd { reLast, reCurrent, reCount };
RTL_ENUM(TqlrRangeEnd, "reLast", "reCurrent", "reCount")
enum class TqlrFieldType { fftNumeric, fftString, fftBoolean };

// ----------------------------------------------------------------- tree

class TqlrComponent : public rtl::TComponent {
    RTL_CLASS(TqlrComponent, rtl::TComponent)
public:
    explicit TqlrComponent(rtl::TComponent* owner);
    ~TqlrComponent() override;
    // Sets IsDesigning before the object is built: use as
    // DesignCreate<TqlrMemoView>(page).
    template <typename T>
    static T* DesignCreate(rtl::TComponent* owner, int flags = 0)
    {
        SetNextDesigning(true, flags);
        return new T(owner);
    }

    // Children in drawing and streaming order.
    const std::vector<TqlrComponent*>& Objects() const { return FObjects; }
    // Every descendant, depth first, parents before children; rebuilt on
    // each call.
    const std::vector<TqlrComponent*>& AllObjects();
    virtual const std::vector<TqlrComponent*>& ContainerObjects() { return FObjects; }

    TqlrComponent* Parent() const { return FParent; }
    virtual void SetParent(TqlrComponent* value);
    TqlrPage* Page() const;
    TqlrReport* Report() const;

    long double Left() const { return FLeft; }
    long double Top() const { return FTop; }
    long double Width() const { return FWidth; }
    long double Height() const { return FHeight; }
    virtual void SetLeft(long double value);
    virtual void SetTop(long double value);
    virtual void SetWidth(long double value);
    virtual void SetHeight(long double value);
    void SetBounds(long double aLeft, long double aTop, long double aWidth, long double aHeight);
    // The values stored past the setters (no restrictions, no snapping).
    void SetLeftDirect(long double v) { FLeft = v; }
    void SetTopDirect(long double v) { FTop = v; }
    void SetWidthDirect(long double v) { FWidth = v; }
    void SetHeightDirect(long double v) { FHeight = v; }
    long double AbsLeft() const;
    long double AbsTop() const;

    gui::TFont* Font() const { return FFont.get(); }
    virtual void SetFont(gui::TFont* value);
    bool ParentFont() const { return FParentFont; }
    virtual void SetParentFont(bool value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    bool IsFontStored() const { return !FParentFont; }

    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    const TqlrRestrictions& Restrictions() const { return FRestrictions; }
    void SetRestrictions(const TqlrRestrictions& value) { FRestrictions = value; }
    const std::string& Description() const { return FDescription; }
    void SetDescription(const std::string& value) { FDescription = value; }
    const TqlrComponentStyle& qlComponentStyle() const { return FComponentStyle; }
    void SetqlComponentStyle(const TqlrComponentStyle& value) { FComponentStyle = value; }
    // The stem of unique names: the class name without "Tqlr" and "View".
    std::string BaseName() const;

    bool IsDesigning() const { return FIsDesigning; }
    void SetIsDesigning(bool value) { FIsDesigning = value; }
    bool IsLoading() const;
    void SetIsLoading(bool value) { FIsLoading = value; }
    bool IsPrinting() const { return FIsPrinting; }
    void SetIsPrinting(bool value) { FIsPrinting = value; }
    bool IsWriting() const { return FIsWriting; }
    void SetIsWriting(bool value) { FIsWriting = value; }
    bool IsAncestor() const;
    void SetIsAncestor(bool value) { FAncestor = value; }

    const std::string& AliasName() const { return FAliasName; }
    void SetAliasName(const std::string& value) { FAliasName = value; }
    TqlrComponent* OriginalComponent() const { return FOriginalComponent; }
    void SetOriginalComponent(TqlrComponent* value) { FOriginalComponent = value; }
    TqlrComponent* OriginalBand() const { return FOriginalBand; }
    void SetOriginalBand(TqlrComponent* value) { FOriginalBand = value; }

    virtual std::string GetDescription() const { return ClassName(); }
    virtual void AlignChildren();
    virtual void BeforeStartReport() {}
    // Frees every child except those inherited from an ancestor report,
    // which are cleared themselves.
    virtual void Clear();
    virtual void LoadFromStream(rtl::TStream& stream);
    virtual void SaveToStream(rtl::TStream& stream, bool saveChildren = true, bool saveDefaultValues = false,
                              bool streaming = false);
    virtual void OnNotify(TObject*) {}
    virtual void OnPaste() {}
    // The attributes (" l=\"10\"" ...) in which this object differs from
    // aComponent, an object of the same class.
    virtual std::string Diff(TqlrComponent* aComponent);
    // The object's serialized attributes, then " " + the base Diff.
    std::string AllDiff(TqlrComponent* aComponent);
    virtual bool ContainerAdd(TqlrComponent*) { return false; }

    void Assign(const rtl::TPersistent* source) override;
    void AssignAll(TqlrComponent* source, bool streaming = false);
    void CreateUniqueName();
    void SetName(const std::string& newName) override;
    // First object of AllObjects named aName (case ignored); never this.
    TqlrComponent* FindObject(const std::string& aName);
    // A data set by name: the report's enabled data sets, or the global list.
    TqlrDataSet* FindDataSet(TqlrDataSet* dataSet, const std::string& dsName);

    void GetChildren(const std::function<void(rtl::TComponent*)>& proc, rtl::TComponent* root) override;

protected:
    virtual void FontChanged();
    // Changes the font without the change handling (ParentFont stays).
    void ChangeFontQuietly(const std::function<void(gui::TFont*)>& change);
    // The base Diff of this class (views extend Diff, AllDiff appends this).
    std::string BaseDiff(TqlrComponent* aComponent);
    // The prepared pages store first-pass objects by their base Diff.
    friend class TqlrPreviewPages;
    // Points a data-set field at v, moving the free notification with it, so
    // that the field is cleared when the data set goes (see Notification).
    void LinkDataSet(TqlrDataSet*& field, TqlrDataSet* v);

    std::string FBaseName;
    TqlrComponentStyle FComponentStyle;

private:
    static void SetNextDesigning(bool designing, int flags);

    std::unique_ptr<gui::TFont> FFont;
    std::vector<TqlrComponent*> FObjects;
    std::vector<TqlrComponent*> FAllObjects;
    TqlrComponent* FParent = nullptr;
    long double FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FParentFont = true;
    int FGroupIndex = 0;
    bool FIsDesigning = false;
    bool FIsLoading = false;
    bool FIsPrinting = false;
    bool FIsWriting = false;
    TqlrRestrictions FRestrictions;
    bool FVisible = true;
    std::string FDescription;
    bool FAncestor = false;
    std::string FAliasName;
    TqlrComponent* FOriginalComponent = nullptr;
    TqlrComponent* FOriginalBand = nullptr;

protected:
    int FDesignFlags = 0;
};

class TqlrReportComponent : public TqlrComponent {
    RTL_CLASS(TqlrReportComponent, TqlrComponent)
public:
    explicit TqlrReportComponent(rtl::TComponent* owner);

    // Draws at device position offset + scale * report units.  The base
    // class has nothing to draw and raises EAbstractError.
    virtual void Draw(gui::TCanvas* canvas, long double scaleX, long double scaleY, long double offsetX,
                      long double offsetY);
    virtual void BeforePrint();
    virtual void GetData() {}
    virtual void AfterPrint();
    virtual std::string GetComponentText() { return ""; }
    virtual TqlrRect GetRealBounds();

    // Event texts name script procedures; they are stored, never run here.
    std::string OnAfterData, OnAfterPrint, OnBeforePrint, OnPreviewClick, OnPreviewDblClick;
    long double ShiftAmount = 0;
    std::vector<TqlrReportComponent*> ShiftChildren;
    // Set by an object that prints bands of its own (the cross-tab) once it
    // has run the report's before-print event for this object, with the
    // object's row, column and value at hand: the engine then leaves the
    // event out when it prints the object's band, and clears the mark.
    bool BeforePrintEventDone = false;

protected:
    TqlrRect FOriginalRect;
};

} // namespace qlr
