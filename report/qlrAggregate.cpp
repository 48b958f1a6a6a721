// Aggregate calls: scanning memo texts, accumulating rows, reading results.
#include "report/qlrAggregate.h"

#include <cstring>
#include <functional>

#include "platform/rtl/Strings.h"
#include "report/qlrClass.h"
#include "report/qlrUtils.h"
#include "report/qlrVariables.h"

namespace qlr {

namespace {

constexpr int kColumnSlots = 1001;  // vertical columns 0..1000

bool IsControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool InSkipSet(char c)
{
    return IsControl(c) || (c >= '0' && c <= '9') || std::strchr("!#$%&*+,-./=[]^|", c) != nullptr;
}

bool InStopSet(char c) { return IsControl(c) || std::strchr("!#$%&(*+,-./=[]^|", c) != nullptr; }

// Index of the character closing the one at open (nested pairs and quoted
// parts respected); npos when it never closes.
std::size_t MatchingClose(const std::string& s, std::size_t open, char openCh, char closeCh)
{
    int depth = 0;
    for (std::size_t i = open; i < s.size(); ++i) {
        char c = s[i];
        if (c == '\'' || c == '"') {
            std::size_t q = s.find(c, i + 1);
            if (q == std::string::npos) return std::string::npos;
            i = q;
        } else if (c == openCh) {
            ++depth;
        } else if (c == closeCh) {
            if (--depth == 0) return i;
        }
    }
    return std::string::npos;
}

// The arguments of a call text (after its first "("), split at commas
// outside quotes and nested parentheses; at most three, trimmed.
std::vector<std::string> SplitArguments(const std::string& call)
{
    std::vector<std::string> args;
    std::size_t i = call.find('(');
    if (i == std::string::npos) return args;
    std::string cur;
    int depth = 0;
    bool inSingle = false, inDouble = false;
    for (++i; i < call.size(); ++i) {
        char c = call[i];
        if (c == '\'' && !inDouble) inSingle = !inSingle;
        else if (c == '"' && !inSingle) inDouble = !inDouble;
        if (!inSingle && !inDouble) {
            if (c == '(') ++depth;
            else if (c == ')') {
                if (depth == 0) break;
                --depth;
            } else if (c == ',' && depth == 0) {
                args.push_back(rtl::Trim(cur));
                cur.clear();
                continue;
            }
        }
        cur += c;
    }
    args.push_back(rtl::Trim(cur));
    if (args.size() > 3) args.resize(3);
    return args;
}

bool IsAggregateName(const std::string& upper)
{
    return upper == "SUM" || upper == "MIN" || upper == "MAX" || upper == "AVG" || upper == "COUNT";
}

TqlrAggregateFunction FunctionOf(const std::string& upper)
{
    if (upper == "SUM") return TqlrAggregateFunction::agSum;
    if (upper == "AVG") return TqlrAggregateFunction::agAvg;
    if (upper == "MIN") return TqlrAggregateFunction::agMin;
    if (upper == "MAX") return TqlrAggregateFunction::agMax;
    return TqlrAggregateFunction::agCount;
}

template <typename T> bool Is(const TqlrComponent* c) { return c && T::StaticClassInfo().IsInstance(c); }

} // namespace

// --- items ---------------------------------------------------------------------------------

void TqlrAggregateItem::Accumulate(int& count, rtl::Variant& value, const rtl::Variant& v) const
{
    if (!(FAggregateFunction == TqlrAggregateFunction::agAvg && v.IsNull())) ++count;
    if (value.IsNull()) {
        value = v;
    } else if (!v.IsNull()) {
        switch (FAggregateFunction) {
        case TqlrAggregateFunction::agSum:
        case TqlrAggregateFunction::agAvg: value = value + v; break;
        case TqlrAggregateFunction::agMin:
            if (v < value) value = v;
            break;
        case TqlrAggregateFunction::agMax:
            if (v > value) value = v;
            break;
        case TqlrAggregateFunction::agCount: break;
        }
    }
}

void TqlrAggregateItem::Calc()
{
    if (!FBand || (!FBand->Visible() && !FCountInvisibleBands)) return;
    rtl::Variant v = rtl::Variant::Null();
    if (FAggregateFunction != TqlrAggregateFunction::agCount && FReport) {
        if (FMemo) FReport->CurObject = FMemo;
        v = FReport->Calc(FExpression);
    }
    // False adds as 0; True counts as 1.
    if (v.IsBoolean() && v.AsBoolean()) v = rtl::Variant(1);
    else if (v.IsBoolean()) v = rtl::Variant(0);
    if (FVColumn >= 1) {
        if (FItemsArray.empty()) {
            FItemsArray.assign(kColumnSlots, rtl::Variant::Null());
            FItemsCountArray.assign(kColumnSlots, 0);
        }
        if (FVColumn < kColumnSlots)
            Accumulate(FItemsCountArray[static_cast<std::size_t>(FVColumn)],
                       FItemsArray[static_cast<std::size_t>(FVColumn)], v);
    } else if (FKeeping) {
        Accumulate(FTempItemsCount, FTempItemsValue, v);
    } else {
        FLastCount = FItemsCount;
        FLastValue = FItemsValue;
        Accumulate(FItemsCount, FItemsValue, v);
    }
}

void TqlrAggregateItem::DeleteValue()
{
    FItemsCount = FLastCount;
    FItemsValue = FLastValue;
}

void TqlrAggregateItem::Reset(bool force)
{
    if (!force && FDontReset && FItemsCount != 0) return;
    FItemsCount = 0;
    FItemsValue = rtl::Variant::Null();
    FItemsArray.clear();
    FItemsCountArray.clear();
}

void TqlrAggregateItem::StartKeep()
{
    if (!FIsPageFooter || FKeeping) return;
    FKeeping = true;
    FTempItemsCount = 0;
    FTempItemsValue = rtl::Variant::Null();
}

void TqlrAggregateItem::EndKeep()
{
    if (!FIsPageFooter || !FKeeping) return;
    FKeeping = false;
    FItemsCount += FTempItemsCount;
    if (FItemsValue.IsNull()) {
        FItemsValue = FTempItemsValue;
    } else if (!FTempItemsValue.IsNull()) {
        switch (FAggregateFunction) {
        case TqlrAggregateFunction::agSum:
        case TqlrAggregateFunction::agAvg:
        case TqlrAggregateFunction::agCount: FItemsValue = FItemsValue + FTempItemsValue; break;
        case TqlrAggregateFunction::agMin:
            if (FTempItemsValue < FItemsValue) FItemsValue = FTempItemsValue;
            break;
        case TqlrAggregateFunction::agMax:
            if (FTempItemsValue > FItemsValue) FItemsValue = FTempItemsValue;
            break;
        }
    }
}

rtl::Variant TqlrAggregateItem::Value()
{
    rtl::Variant value;
    int count;
    if (!FItemsArray.empty()) {
        const auto c = static_cast<std::size_t>(FVColumn >= 0 && FVColumn < kColumnSlots ? FVColumn : 0);
        value = FItemsArray[c];
        count = FItemsCountArray[c];
    } else {
        value = FItemsValue;
        count = FItemsCount;
    }
    rtl::Variant result;
    switch (FAggregateFunction) {
    case TqlrAggregateFunction::agAvg:
        result = value.IsNull() || count == 0 ? rtl::Variant::Null() : value / rtl::Variant(count);
        break;
    case TqlrAggregateFunction::agCount: result = rtl::Variant(count); break;
    default: result = value; break;
    }
    return result.IsNull() ? rtl::Variant(0) : result;
}

// --- the list ------------------------------------------------------------------------------

void TqlrAggregateList::AddItems(TqlrReportPage* page, const std::vector<TqlrBand*>& masters,
                                 const std::vector<TqlrBand*>& verticalMasters)
{
    std::function<void(TqlrBand*)> walk = [&](TqlrBand* d) {
        AddBand(d->Footer, d);
        if (d->Group)
            for (TqlrBand* g : d->Group->SubBands) AddBand(g->Footer, d);
        if (d->Vertical) AddBand(d, d);
        for (TqlrBand* detail : d->SubBands) walk(detail);
    };
    for (TqlrBand* m : masters) walk(m);
    for (TqlrBand* m : verticalMasters) walk(m);
    if (!masters.empty()) {
        AddBand(page->FindBand(TqlrPageFooter::StaticClassInfo()), masters.front());
        AddBand(page->FindBand(TqlrColumnFooter::StaticClassInfo()), masters.front());
        AddBand(page->FindBand(TqlrReportSummary::StaticClassInfo()), masters.front());
    }
}

void TqlrAggregateList::AddBand(TqlrBand* scanned, TqlrBand* dataBand)
{
    for (int guard = 0; scanned && guard < 1000; ++guard) {
        for (TqlrComponent* c : scanned->Objects())
            if (auto* memo = dynamic_cast<TqlrCustomMemoView*>(c)) ScanMemo(memo, dataBand);
        scanned = scanned->Child();
    }
}

void TqlrAggregateList::ScanMemo(TqlrCustomMemoView* memo, TqlrBand* dataBand)
{
    if (!memo->AllowExpressions()) return;
    const std::string& delims = memo->ExpressionDelimiters();
    std::size_t comma = delims.find(',');
    std::string open = delims.substr(0, comma);
    std::string close = comma == std::string::npos ? std::string() : delims.substr(comma + 1, 255);
    if (open.empty()) return;
    const std::string& s = memo->Text();
    std::size_t pos = s.find(open);
    while (pos != std::string::npos) {
        int start = static_cast<int>(pos) + 1, stop = start;
        std::string expr = ExtractBracketedExpression(s, open, close, start, stop);
        if (stop <= start) break;
        ParseName(expr, memo, dataBand, 0);
        pos = s.find(open, static_cast<std::size_t>(stop));
    }
}

void TqlrAggregateList::ParseName(const std::string& text, TqlrCustomMemoView* memo, TqlrBand* dataBand,
                                  int depth)
{
    // A variable whose value names itself must not loop for ever.
    if (depth > 32 || text.empty()) return;
    auto throughVariable = [&](const std::string& name) {
        TqlrVariables* vars = FReport->Variables();
        if (vars->IndexOf(name) >= 0) {
            rtl::Variant v = vars->GetVariable(name);
            ParseName(v.IsNull() ? std::string() : rtl::VarToStr(v), memo, dataBand, depth + 1);
            return true;
        }
        TqlrDataSet* ds = nullptr;
        std::string field;
        FReport->GetDatasetAndField(name, ds, field);
        return ds != nullptr;
    };
    if (throughVariable(rtl::Trim(text))) return;

    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        char c = text[i];
        if (InSkipSet(c)) {
            ++i;
        } else if (c == '\'' || c == '"') {
            std::size_t q = text.find(c, i + 1);
            i = q == std::string::npos ? n : q + 1;
        } else if (c == '(' || c == '<') {
            std::size_t e = MatchingClose(text, i, c, c == '(' ? ')' : '>');
            if (e == std::string::npos) e = n;
            ParseName(text.substr(i + 1, e - i - 1), memo, dataBand, depth + 1);
            i = e + 1;
        } else {
            std::size_t j = i;
            while (j < n && !InStopSet(text[j])) ++j;
            std::string word = text.substr(i, j - i);
            std::string upper = rtl::UpperCase(rtl::Trim(word));
            if (IsAggregateName(upper) && j < n && text[j] == '(') {
                std::size_t e = MatchingClose(text, j, '(', ')');
                if (e == std::string::npos) e = n - 1;
                AddItem(text.substr(i, e - i + 1), memo, dataBand);
                i = e + 1;
            } else {
                throughVariable(word);
                i = j;
            }
        }
    }
}

void TqlrAggregateList::AddItem(const std::string& callText, TqlrCustomMemoView* memo, TqlrBand* dataBand)
{
    auto item = std::make_unique<TqlrAggregateItem>(FReport);
    std::string name = rtl::UpperCase(rtl::Trim(callText.substr(0, callText.find('('))));
    item->FAggregateFunction = FunctionOf(name);
    std::vector<std::string> args = SplitArguments(callText);
    args.resize(3);
    std::string bandName, flags;
    if (item->FAggregateFunction == TqlrAggregateFunction::agCount) {
        bandName = args[0];
        flags = args[1];
    } else {
        item->FExpression = args[0];
        bandName = args[1];
        flags = args[2];
    }
    TqlrBand* band = nullptr;
    if (!bandName.empty()) band = dynamic_cast<TqlrBand*>(FReport->FindObject(bandName));
    int f = 0;
    if (!flags.empty()) f = rtl::StrToIntDef(flags, 0);
    item->FCountInvisibleBands = (f & 1) != 0;
    item->FDontReset = (f & 2) != 0;
    item->FBand = band ? band : dataBand;

    auto* parent = dynamic_cast<TqlrBand*>(memo->Parent());
    auto* original = dynamic_cast<TqlrBand*>(memo->OriginalBand());
    if (parent && parent->Vertical && original &&
        (Is<TqlrReportSummary>(original) || Is<TqlrPageFooter>(original) || Is<TqlrFooter>(original) ||
         Is<TqlrGroupFooter>(original)))
        parent = original;
    item->FParentBand = parent;
    item->FIsPageFooter = Is<TqlrPageFooter>(parent);
    item->FOriginalName = rtl::Trim(callText);
    item->FMemoName = memo->Name();
    item->FMemo = memo;
    item->Reset(true);
    FList.push_back(std::move(item));
}

void TqlrAggregateList::AddValue(TqlrBand* band, int vColumn)
{
    for (auto& item : FList)
        if (item->FBand == band) {
            item->FVColumn = vColumn;
            item->Calc();
        }
}

void TqlrAggregateList::DeleteValue(TqlrBand* band)
{
    for (auto& item : FList)
        if (item->FBand == band) item->DeleteValue();
}

rtl::Variant TqlrAggregateList::GetValue(TqlrBand* parentBand, const std::string& complexName, int vColumn)
{
    const std::string name = rtl::Trim(complexName);
    for (auto& item : FList)
        if (item->FParentBand == parentBand && rtl::AnsiSameText(item->FOriginalName, name)) {
            item->FVColumn = vColumn;
            return item->Value();
        }
    return rtl::Variant::Null();
}

rtl::Variant TqlrAggregateList::GetValue(TqlrBand* parentBand, int vColumn, const std::string& name,
                                         const std::string& expression, TqlrBand* band, int flags)
{
    const TqlrAggregateFunction func = FunctionOf(rtl::UpperCase(rtl::Trim(name)));
    const std::string expr = rtl::Trim(expression);
    const bool countInvisible = (flags & 1) != 0, dontReset = (flags & 2) != 0;
    for (auto& item : FList)
        if (item->FParentBand == parentBand && item->FAggregateFunction == func &&
            rtl::AnsiSameText(item->FExpression, expr) && (!band || item->FBand == band) &&
            item->FCountInvisibleBands == countInvisible && item->FDontReset == dontReset) {
            item->FVColumn = vColumn;
            return item->Value();
        }
    return rtl::Variant::Null();
}

void TqlrAggregateList::Reset(TqlrBand* parentBand)
{
    for (auto& item : FList)
        if (item->FParentBand == parentBand) item->Reset();
}

void TqlrAggregateList::StartKeep()
{
    for (auto& item : FList) item->StartKeep();
}

void TqlrAggregateList::EndKeep()
{
    for (auto& item : FList) item->EndKeep();
}

void TqlrAggregateList::ClearValues()
{
    for (auto& item : FList) item->Reset(true);
}

} // namespace qlr
