// The forgiving single-pass reader.  It keeps no recursion of its own: the
// open elements are frames on a heap stack, so any depth of nesting only
// costs memory.
#include "xml/XmlDomParser.h"

#include <cstring>

namespace xml::detail {

using rtl::EFilerError;

namespace {

struct TTagType {
    const char* Start;
    const char* Close;
    TXmlElementType Type;
};

const TTagType cTags[12] = {
    {"<![CDATA[", "]]>", xeCData},        {"<!DOCTYPE", ">", xeDoctype},
    {"<!ELEMENT", ">", xeElement},        {"<!ATTLIST", ">", xeAttList},
    {"<!ENTITY", ">", xeEntity},          {"<!NOTATION", ">", xeNotation},
    {"<?xml-stylesheet", "?>", xeStylesheet}, {"<?xml", "?>", xeDeclaration},
    {"<!--", "-->", xeComment},           {"<!", ">", xeExclam},
    {"<?", "?>", xeQuestion},             {"<", ">", xeNormal}};

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

bool IsBlankOnly(std::string_view s)
{
    return TrimXmlBlanks(s).empty();
}

std::string Join(const std::vector<std::string>& items, size_t from, std::string_view sep)
{
    std::string r;
    for (size_t i = from; i < items.size(); ++i) {
        if (i > from) r.append(sep);
        r.append(items[i]);
    }
    return std::string(TrimXmlBlanks(r));
}

} // namespace

void SplitTagItems(std::string_view AText, std::vector<std::string>& AItems)
{
    AItems.clear();
    std::string_view text = TrimXmlBlanks(AText);
    std::vector<std::string> raw;
    std::string cur;
    char q = 0;
    for (char c : text) {
        if (q) {
            cur += c;
            if (c == q) q = 0;
        } else if (IsQuote(c)) {
            q = c;
            cur += c;
        } else if (IsXmlBlank(c)) {
            if (!cur.empty()) raw.push_back(std::move(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) raw.push_back(std::move(cur));
    if (raw.empty()) return;
    // Items starting with "=" join the item before; the merges of a
    // back-to-front pass come out the same done front to back.
    std::vector<std::string> eq;
    eq.push_back(std::move(raw[0]));
    for (size_t i = 1; i < raw.size(); ++i) {
        if (raw[i][0] == '=') eq.back() += raw[i];
        else eq.push_back(std::move(raw[i]));
    }
    // Then quoted items join an item before them that holds "=" (as it was
    // before this step).
    AItems.push_back(std::move(eq[0]));
    bool prevHasEq = AItems.back().find('=') != std::string::npos;
    for (size_t i = 1; i < eq.size(); ++i) {
        bool hasEq = eq[i].find('=') != std::string::npos;
        if (IsQuote(eq[i][0]) && prevHasEq) AItems.back() += eq[i];
        else AItems.push_back(std::move(eq[i]));
        prevHasEq = hasEq;
    }
}

void TXmlParser::FireNew(TUtf8XmlNode* ANode)
{
    if (FDoc && FDoc->OnNodeNew) FDoc->OnNodeNew(FDoc, ANode);
}

void TXmlParser::Progress(int64_t APosition)
{
    if (FDoc && FDoc->OnProgress)
        FDoc->OnProgress(FDoc, static_cast<int32_t>(std::min<int64_t>(APosition, INT32_MAX)));
}

void TXmlParser::Completed(TUtf8XmlNode* ANode)
{
    if (!FDoc || FDoc->FAbortParsing) return;
    if (FDoc->OnProgress) Progress(FSrc.Position());
    if (FDoc->OnNodeLoaded) FDoc->OnNodeLoaded(FDoc, ANode);
}

bool TXmlParser::ReadUntil(std::string& AOut, std::string_view AClose, bool AQuoteAware)
{
    AOut.clear();
    const char last = AClose.back();
    char q = 0;
    char c;
    while (FSrc.Next(c)) {
        AOut += c;
        if (AQuoteAware) {
            if (q) {
                if (c == q) q = 0;
                continue;
            }
            if (IsQuote(c)) {
                q = c;
                continue;
            }
        }
        if (c == last && AOut.size() >= AClose.size() &&
            std::string_view(AOut).substr(AOut.size() - AClose.size()) == AClose) {
            AOut.resize(AOut.size() - AClose.size());
            return true;
        }
    }
    return false;
}

int TXmlParser::RecogniseTag()
{
    // Every row is a candidate; the longest start text that the bytes
    // complete wins, the lower row among equals.  The "<" is already read.
    bool alive[12];
    size_t lens[12];
    for (int r = 0; r < 12; ++r) {
        alive[r] = true;
        lens[r] = std::strlen(cTags[r].Start);
    }
    int best = 11;
    size_t bestLen = 1;
    size_t k = 1;
    char read[16];
    size_t nread = 0;
    char c;
    while (FSrc.Next(c)) {
        read[nread++] = c;
        bool any = false;
        for (int r = 0; r < 12; ++r) {
            if (!alive[r]) continue;
            if (lens[r] > k && cTags[r].Start[k] == c) any = true;
            else alive[r] = false;
        }
        if (!any) break;
        ++k;
        for (int r = 0; r < 12; ++r)
            if (alive[r] && lens[r] == k) {
                best = r;
                bestLen = k;
                break;
            }
    }
    // Put back what was read beyond the winner's start text.
    for (size_t i = nread; i > bestLen - 1; --i) FSrc.Unread(read[i - 1]);
    return best;
}

TXmlParser::TBegin TXmlParser::BeginNode(TUtf8XmlNode* ANode)
{
    ANode->Clear();
    char c;
    do {
        if (!FSrc.Next(c)) return bComplete;
    } while (IsXmlBlank(c));
    if (c != '<') return bComplete;

    const TTagType& tag = cTags[RecogniseTag()];
    ANode->FElementType = tag.Type;
    std::string text;
    switch (tag.Type) {
    case xeNormal:
    case xeDeclaration:
    case xeStylesheet: {
        ReadUntil(text, tag.Close, true);
        bool shortForm = false;
        if (tag.Type == xeNormal && !text.empty() && text.back() == '/') {
            shortForm = true;
            text.pop_back();
        }
        SplitTagItems(text, FItems);
        size_t first = 0;
        if (tag.Type == xeDeclaration) {
            ANode->FName = "xml";
        } else if (tag.Type == xeStylesheet) {
            ANode->FName = "xml-stylesheet";
            ANode->FValue = TrimXmlBlanks(text);
        } else {
            if (FItems.empty()) throw EFilerError("Missing element name");
            ANode->FName = std::move(FItems[0]);
            first = 1;
        }
        if (FItems.size() > first) {
            ANode->FAttributes = new TsdUTF8StringList();
            for (size_t i = first; i < FItems.size(); ++i) ANode->FAttributes->Add(std::move(FItems[i]));
        }
        FireNew(ANode);
        return tag.Type == xeNormal && !shortForm ? bContent : bComplete;
    }
    case xeDoctype: {
        ANode->FName = "DTD";
        FireNew(ANode);
        bool bracket = false;
        while (FSrc.Next(c)) {
            if (c == '>') break;
            if (c == '[') {
                bracket = true;
                break;
            }
            text += c;
        }
        SplitTagItems(text, FItems);
        if (!FItems.empty()) {
            ANode->FName = FItems[0];
            ANode->FValue = Join(FItems, 1, " ");
        }
        return bracket ? bDtd : bComplete;
    }
    case xeElement:
    case xeAttList:
    case xeEntity:
    case xeNotation:
        ReadUntil(text, ">", true);
        SplitTagItems(text, FItems);
        if (!FItems.empty()) {
            ANode->SetName(FItems[0]);
            ANode->FValue = Join(FItems, 1, "\r\n");
        }
        FireNew(ANode);
        return bComplete;
    case xeComment:
    case xeCData:
    case xeExclam:
    case xeQuestion:
        ANode->FName = tag.Type == xeComment ? "Comment" : tag.Type == xeCData ? "CData" : "Special";
        FireNew(ANode);
        ReadUntil(ANode->FValue, tag.Close, false);
        return bComplete;
    default:
        ANode->FName = "Unknown";
        return bComplete;
    }
}

void TXmlParser::FlushRun(TFrame& F, bool AKeepBlank)
{
    if (F.Chars.empty()) return;
    if (AKeepBlank || !IsBlankOnly(F.Chars)) {
        TUtf8XmlNode* run = F.Node->NodeNew("");
        run->FElementType = xeCharData;
        run->FValue = std::move(F.Chars);
    }
    F.Chars.clear();
}

void TXmlParser::FinishElement(TFrame& F)
{
    TUtf8XmlNode* node = F.Node;
    FlushRun(F, !F.HasChildTags);
    if (F.HasChildTags && F.CR) {
        for (int i = 0; i < node->NodeCount(); ++i) {
            TUtf8XmlNode* run = node->Nodes(i);
            if (run->FElementType != xeCharData) continue;
            std::string& v = run->FValue;
            while (!v.empty() && (v.back() == '\r' || v.back() == '\n' || v.back() == ' ')) v.pop_back();
        }
    }
    TUtf8XmlNode* first = node->Nodes(0);
    if (first && first->FElementType == xeCharData) {
        node->FValue = std::move(first->FValue);
        node->NodeDelete(0);
    }
}

// Reads the start of a new child of F's node.  Returns the child when it is
// complete already; nullptr when its content follows, the child and how it
// began then set in AChild and AChildBegin.
TUtf8XmlNode* TXmlParser::BeginChild(TFrame& F, TUtf8XmlNode*& AChild, TBegin& AChildBegin)
{
    TUtf8XmlNode* child = F.Node->NodeNew("");
    FBeginning = child;
    TBegin b = BeginNode(child);
    FBeginning = nullptr;
    if (b != bComplete) {
        AChild = child;
        AChildBegin = b;
        return nullptr;
    }
    Completed(child);
    return child;
}

TXmlParser::TStep TXmlParser::StepElement(TFrame& F, TUtf8XmlNode*& AChild, TBegin& AChildBegin)
{
    for (;;) {
        if (Aborted()) return sAborted;
        char c;
        if (!FSrc.Next(c)) throw EFilerError("Missing close tag in element " + F.Node->FName);
        if (c != '<') {
            F.Chars += c;
            if (c == '\r') F.CR = true;
            continue;
        }
        char d;
        do {
            if (!FSrc.Next(d))
                throw EFilerError("Missing data after \"<\" in element " + F.Node->FName);
        } while (IsXmlBlank(d));
        if (d == '/') {
            std::string text;
            if (!ReadUntil(text, ">", true))
                throw EFilerError("Missing \">\" in close tag of element " + F.Node->FName);
            if (!XmlSameName(TrimXmlBlanks(text), F.Node->FName))
                throw EFilerError("Incorrect close tag in element " + F.Node->FName);
            return sFinished;
        }
        FlushRun(F, false);
        F.CR = false;
        F.HasChildTags = true;
        FSrc.Unread(d);
        FSrc.Unread('<');
        TUtf8XmlNode* child = BeginChild(F, AChild, AChildBegin);
        if (!child) return sChild;
        if (FDoc && FDoc->FDropCommentsOnParse && child->FElementType == xeComment)
            F.Node->NodeRemove(child);
    }
}

TXmlParser::TStep TXmlParser::StepDtd(TFrame& F, TUtf8XmlNode*& AChild, TBegin& AChildBegin)
{
    for (;;) {
        if (Aborted()) return sAborted;
        char c;
        do {
            if (!FSrc.Next(c)) return sFinished;
        } while (IsXmlBlank(c));
        if (c == ']') {
            while (FSrc.Next(c) && c != '>') {
            }
            return sFinished;
        }
        FSrc.Unread(c);
        TUtf8XmlNode* child = BeginChild(F, AChild, AChildBegin);
        if (!child) return sChild;
        // Stray text between the declarations gives no node.
        if (child->IsClear()) F.Node->NodeRemove(child);
    }
}

void TXmlParser::ParseNode(TUtf8XmlNode* ANode)
{
    if (Aborted()) return;
    std::vector<TFrame> stack;
    try {
        FBeginning = ANode;
        TBegin b = BeginNode(ANode);
        FBeginning = nullptr;
        if (b == bComplete) {
            Completed(ANode);
            return;
        }
        stack.push_back(TFrame{ANode, b == bDtd, {}});
        while (!stack.empty()) {
            TUtf8XmlNode* child = nullptr;
            TBegin childBegin = bComplete;
            TFrame& top = stack.back();
            TStep step = top.Dtd ? StepDtd(top, child, childBegin) : StepElement(top, child, childBegin);
            if (step == sAborted) return;  // the partial tree stays
            if (step == sChild) {
                stack.push_back(TFrame{child, childBegin == bDtd, {}});
                continue;
            }
            if (!top.Dtd) FinishElement(top);
            TUtf8XmlNode* done = top.Node;
            stack.pop_back();
            Completed(done);
            if (!stack.empty() && !stack.back().Dtd && FDoc && FDoc->FDropCommentsOnParse &&
                done->FElementType == xeComment)
                stack.back().Node->NodeRemove(done);
        }
    } catch (...) {
        // Every node that the error ends is reported as loaded, innermost
        // first, before the error goes on.
        if (FBeginning) Completed(FBeginning);
        FBeginning = nullptr;
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) Completed(it->Node);
        throw;
    }
}

void TXmlParser::ParseDocument(TsdCodecStream* ACodec)
{
    TUtf8XmlNode* list = FDoc->FRootNodes;
    FDoc->FAbortParsing = false;
    list->NodesClear();
    Progress(0);
    do {
        const int64_t delivered = FSrc.Delivered();
        const int64_t position = FSrc.Position();
        TUtf8XmlNode* node = list->NodeNew("");
        ParseNode(node);
        if (FDoc->FAbortParsing) break;
        // A declaration naming UTF-8 switches the decoding to UTF-8.  Any
        // spelling of the name counts, as the name is case-insensitive.
        if (ACodec && node->FElementType == xeDeclaration &&
            XmlSameName(node->AttributeByName("encoding"), "UTF-8"))
            ACodec->SetEncoding(seUTF8);
        if (node->IsClear()) list->NodeRemove(node);
        if (FSrc.Delivered() == delivered && FSrc.Position() == position) break;  // no progress
    } while (!FSrc.AtEnd());
    Progress(FSrc.Size());

    int normals = 0, declarations = 0, doctypes = 0, cdatas = 0;
    int lastNormal = -1, lastDoctype = -1;
    for (int i = 0; i < list->NodeCount(); ++i) {
        switch (list->Nodes(i)->FElementType) {
        case xeNormal: ++normals; lastNormal = i; break;
        case xeDeclaration: ++declarations; break;
        case xeDoctype: ++doctypes; lastDoctype = i; break;
        case xeCData: ++cdatas; break;
        default: break;
        }
    }
    if (normals == 0) throw EFilerError("No root element found in xml");
    if (!FDoc->FParserWarnings) return;
    if (normals > 1) throw EFilerError("More than one root element found in xml");
    if (declarations > 1) throw EFilerError("More than one xml declaration found in xml");
    if (declarations == 1 && list->Nodes(0)->FElementType != xeDeclaration)
        throw EFilerError("Xml declaration must be first element");
    if (doctypes > 1) throw EFilerError("More than one doctype declaration found in root");
    if (doctypes == 1 && lastDoctype > lastNormal)
        throw EFilerError("Doctype declaration found after root element");
    if (cdatas > 0) throw EFilerError("No CDATA allowed in root");
}

} // namespace xml::detail

namespace xml {

void TUtf8XmlNode::ReadFromStream(rtl::TStream& S)
{
    detail::TStreamSource source(S);
    detail::TXmlParser(FDocument, source).ParseNode(this);
}

void TUtf8XmlNode::ReadFromString(std::string_view AValue)
{
    detail::TStringSource source(AValue);
    detail::TXmlParser(FDocument, source).ParseNode(this);
}

void TUtf8XmlDom::ReadFromStream(rtl::TStream& S)
{
    detail::TStreamSource source(S);
    TsdCodecStream* codec = FCodecStream ? FCodecStream : dynamic_cast<TsdCodecStream*>(&S);
    detail::TXmlParser(this, source).ParseDocument(codec);
}

void TUtf8XmlDom::ReadFromString(std::string_view AValue)
{
    detail::TStringSource source(AValue);
    detail::TXmlParser(this, source).ParseDocument(nullptr);
}

void TUtf8XmlDom::LoadFromStream(rtl::TStream& Stream)
{
    TsdBufferedReadStream buffered(&Stream);
    TsdUtf8Stream codec(&buffered);
    FCodecStream = &codec;
    try {
        ReadFromStream(codec);
    } catch (...) {
        FCodecStream = nullptr;
        throw;
    }
    FExternalEncoding = codec.Encoding();
    FCodecStream = nullptr;
}

void TUtf8XmlDom::LoadFromFile(const std::string& AFileName)
{
    rtl::TFileStream file(AFileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    LoadFromStream(file);
}

} // namespace xml
