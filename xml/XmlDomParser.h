// The reader that turns UTF-8 bytes into nodes.  Internal to the library:
// the documents and nodes call it from ReadFromStream and ReadFromString.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "xml/XmlDom.h"

namespace xml::detail {

// A source of bytes with push-back.  A NUL byte reads as the end of the
// input (it is consumed).
class TXmlSource {
public:
    virtual ~TXmlSource() = default;
    bool Next(char& c)
    {
        if (!FBack.empty()) {
            c = FBack.back();
            FBack.pop_back();
            ++FDelivered;
            return true;
        }
        if (!Fetch(c)) return false;
        ++FDelivered;
        return true;
    }
    void Unread(char c)
    {
        FBack.push_back(c);
        --FDelivered;
    }
    bool AtEnd() { return FBack.empty() && Exhausted(); }
    int64_t Delivered() const { return FDelivered; }
    virtual int64_t Position() = 0;
    virtual int64_t Size() = 0;

protected:
    virtual bool Fetch(char& c) = 0;
    virtual bool Exhausted() = 0;

private:
    std::string FBack;  // pushed-back bytes, last one read first
    int64_t FDelivered = 0;
};

class TStringSource : public TXmlSource {
public:
    explicit TStringSource(std::string_view AData) : FData(AData) {}
    int64_t Position() override { return static_cast<int64_t>(FPos); }
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }

protected:
    bool Fetch(char& c) override
    {
        if (FPos >= FData.size()) return false;
        c = FData[FPos++];
        return c != '\0';
    }
    bool Exhausted() override { return FPos >= FData.size(); }

private:
    std::string_view FData;
    size_t FPos = 0;
};

class TStreamSource : public TXmlSource {
public:
    explicit TStreamSource(rtl::TStream& AStream)
        : FStream(AStream), FCodec(dynamic_cast<TsdCodecStream*>(&AStream))
    {
    }
    // A conversion stream knows no position before its first read.
    int64_t Position() override
    {
        return FCodec && FCodec->Mode() == umUnknown ? 0 : FStream.Position();
    }
    int64_t Size() override { return FStream.Size(); }

protected:
    bool Fetch(char& c) override
    {
        uint8_t b = 0;
        if (FStream.Read(&b, 1) != 1) return false;
        c = static_cast<char>(b);
        return b != 0;
    }
    bool Exhausted() override { return FStream.Position() >= FStream.Size(); }

private:
    rtl::TStream& FStream;
    TsdCodecStream* FCodec;
};

class TXmlParser {
public:
    // ADoc may be nullptr (a node without document).
    TXmlParser(TUtf8XmlDom* ADoc, TXmlSource& ASource) : FDoc(ADoc), FSrc(ASource) {}

    // Parses one node with all its content into ANode.
    void ParseNode(TUtf8XmlNode* ANode);
    // Parses the top level into ADoc's root node list; ACodec, when given,
    // is switched to UTF-8 by a declaration that says so.
    void ParseDocument(TsdCodecStream* ACodec);

private:
    enum TBegin { bComplete, bContent, bDtd };
    enum TStep { sFinished, sChild, sAborted };
    struct TFrame {
        TUtf8XmlNode* Node;
        bool Dtd;
        std::string Chars;
        bool CR = false;
        bool HasChildTags = false;
    };

    TBegin BeginNode(TUtf8XmlNode* ANode);
    TUtf8XmlNode* BeginChild(TFrame& F, TUtf8XmlNode*& AChild, TBegin& AChildBegin);
    TStep StepElement(TFrame& F, TUtf8XmlNode*& AChild, TBegin& AChildBegin);
    TStep StepDtd(TFrame& F, TUtf8XmlNode*& AChild, TBegin& AChildBegin);
    void FinishElement(TFrame& F);
    void FlushRun(TFrame& F, bool AKeepBlank);
    int RecogniseTag();
    bool ReadUntil(std::string& AOut, std::string_view AClose, bool AQuoteAware);
    void FireNew(TUtf8XmlNode* ANode);
    void Completed(TUtf8XmlNode* ANode);
    void Progress(int64_t APosition);
    bool Aborted() const { return FDoc && FDoc->FAbortParsing; }

    TUtf8XmlDom* FDoc;
    TXmlSource& FSrc;
    TUtf8XmlNode* FBeginning = nullptr;  // the node whose tag is being read
    std::vector<std::string> FItems;
};

// Splits the text of a tag into items: separated by blanks outside quotes;
// an item starting with "=" joins the one before, and so does one starting
// with a quote when the one before holds "=".
void SplitTagItems(std::string_view AText, std::vector<std::string>& AItems);

} // namespace xml::detail
