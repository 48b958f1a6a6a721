// Writing the tree as XML text, in the readable or the compact layout.
// The writer walks the tree with a heap stack, so nesting depth costs no
// call stack.
#include <algorithm>

#include "platform/rtl/Files.h"
#include "xml/XmlDom.h"

namespace xml::detail {

using rtl::EFilerError;

class TXmlWriter {
public:
    // AStream nullptr: the text is gathered for Text().
    TXmlWriter(rtl::TStream* AStream, TUtf8XmlDom* AProgressDoc) : FStream(AStream), FDoc(AProgressDoc) {}

    void WriteTree(TUtf8XmlNode* ANode, int ADepth);
    void Put(std::string_view S)
    {
        FBuf.append(S);
        if (FStream && FBuf.size() >= 65536) Flush();
    }
    void Flush()
    {
        if (FStream && !FBuf.empty()) {
            FStream->WriteBuffer(FBuf.data(), static_cast<int64_t>(FBuf.size()));
            FWritten += static_cast<int64_t>(FBuf.size());
            FBuf.clear();
        }
    }
    int64_t Position() const { return FWritten + static_cast<int64_t>(FBuf.size()); }
    void Progress(int64_t APosition)
    {
        if (FDoc && FDoc->OnProgress) {
            Flush();
            FDoc->OnProgress(FDoc, static_cast<int32_t>(std::min<int64_t>(APosition, INT32_MAX)));
        }
    }
    std::string& Text() { return FBuf; }

private:
    static bool Readable(const TUtf8XmlNode* N)
    {
        return N->FDocument && N->FDocument->FXmlFormat == xfReadable;
    }
    void PutIndent(const TUtf8XmlNode* N, int ADepth)
    {
        if (!Readable(N)) return;
        for (int i = 0; i < ADepth; ++i) Put(N->FDocument->FIndentString);
    }
    void PutLineEnd(const TUtf8XmlNode* N)
    {
        if (Readable(N)) Put("\r\n");
    }
    static bool IsShortForm(const TUtf8XmlNode* N, int ADepth)
    {
        return N->FElementType == xeNormal && N->FValue.empty() && N->NodeCount() == 0 &&
               !(N->FDocument && N->FDocument->FUseFullNodes) && ADepth > 0;
    }
    void PutInnerTag(const TUtf8XmlNode* N, bool AShort)
    {
        for (int i = 0; i < N->AttributeCount(); ++i) {
            Put(" ");
            Put(N->FAttributes->Items(i));
        }
        if (AShort) Put("/");
    }
    // Mixed content (a value or text runs beside child elements) is
    // written as it stands, without line ends or indentation among the
    // children, so that reading it back gives the same texts.
    static bool WrittenInline(const TUtf8XmlNode* N)
    {
        if (!Readable(N) || N->FElementType != xeNormal) return false;
        if (!N->FValue.empty()) return true;
        for (int i = 0; i < N->NodeCount(); ++i)
            if (N->Nodes(i)->FElementType == xeCharData) return true;
        return false;
    }
    // One indented piece of markup: AOpen, the text, AClose.
    void PutMarkup(const TUtf8XmlNode* N, int AIndent, std::string_view AOpen, std::string_view AText,
                   std::string_view AClose)
    {
        PutIndent(N, AIndent);
        Put(AOpen);
        Put(AText);
        Put(AClose);
    }
    // A processing instruction with the node's attributes.
    void PutInstruction(const TUtf8XmlNode* N, int AIndent, std::string_view AOpen)
    {
        PutIndent(N, AIndent);
        Put(AOpen);
        PutInnerTag(N, false);
        Put("?>");
    }
    bool Open(TUtf8XmlNode* N, int ADepth, bool AIndent);
    void Close(TUtf8XmlNode* N, int ADepth, bool AInline);
    void AfterChild(TUtf8XmlNode* AParent, int AIndex);

    rtl::TStream* FStream;
    TUtf8XmlDom* FDoc;
    std::string FBuf;
    int64_t FWritten = 0;
};

// Writes the start of a node; true when its children follow.
bool TXmlWriter::Open(TUtf8XmlNode* N, int ADepth, bool AIndent)
{
    const bool children = N->NodeCount() > 0;
    const int indent = AIndent ? ADepth : 0;
    switch (N->FElementType) {
    case xeNormal:
        PutIndent(N, indent);
        Put("<");
        Put(N->FName);
        PutInnerTag(N, IsShortForm(N, ADepth));
        Put(">");
        Put(N->FValue);
        if (children && !WrittenInline(N)) PutLineEnd(N);
        return children;
    case xeComment:
        PutMarkup(N, indent, "<!--", N->FValue, "-->");
        return false;
    case xeCData:
        PutMarkup(N, indent, "<![CDATA[", N->FValue, "]]>");
        return false;
    case xeDeclaration:
        N->DeleteEmptyAttributes();
        PutInstruction(N, indent, "<?xml");
        return false;
    case xeStylesheet:
        PutInstruction(N, indent, "<?xml-stylesheet");
        return false;
    case xeDoctype:
        PutIndent(N, indent);
        Put("<!DOCTYPE ");
        Put(N->FName);
        Put(" ");
        Put(N->FValue);
        if (!children) {
            Put(">");
            return false;
        }
        Put(" [");
        PutLineEnd(N);
        return true;
    case xeElement:
    case xeAttList:
    case xeEntity:
    case xeNotation:
        PutIndent(N, indent);
        Put(N->FElementType == xeElement   ? "<!ELEMENT "
            : N->FElementType == xeAttList ? "<!ATTLIST "
            : N->FElementType == xeEntity  ? "<!ENTITY "
                                           : "<!NOTATION ");
        Put(N->FName);
        Put(" ");
        Put(N->FValue);
        Put(">");
        return false;
    case xeExclam:
        PutMarkup(N, indent, "<!", N->FValue, ">");
        return false;
    case xeQuestion:
        PutMarkup(N, indent, "<?", N->FValue, "?>");
        return false;
    case xeCharData:
        Put(N->FValue);
        return false;
    case xeUnknown:
        PutMarkup(N, indent, "<", N->FValue, ">");
        return false;
    }
    throw EFilerError("Illegal element type");
}

void TXmlWriter::Close(TUtf8XmlNode* N, int ADepth, bool AInline)
{
    if (N->FElementType == xeNormal) {
        if (IsShortForm(N, ADepth)) return;
        if (N->NodeCount() > 0 && !AInline) PutIndent(N, ADepth);
        Put("</");
        Put(N->FName);
        Put(">");
    } else if (N->FElementType == xeDoctype && N->NodeCount() > 0) {
        Put("]>");
    }
}

void TXmlWriter::AfterChild(TUtf8XmlNode* AParent, int AIndex)
{
    if (AParent->FElementType == xeDoctype) {
        PutLineEnd(AParent);
        return;
    }
    if (WrittenInline(AParent)) return;
    // Text runs join their neighbours on one line.
    const TUtf8XmlNode* child = AParent->Nodes(AIndex);
    const TUtf8XmlNode* next = AParent->Nodes(AIndex + 1);
    if (child->FElementType != xeCharData && !(next && next->FElementType == xeCharData))
        PutLineEnd(AParent);
}

void TXmlWriter::WriteTree(TUtf8XmlNode* ANode, int ADepth)
{
    struct TFrame {
        TUtf8XmlNode* Node;
        int Depth;
        int Next;
        bool Inline;
    };
    if (!Open(ANode, ADepth, true)) {
        Close(ANode, ADepth, false);
        Progress(Position());
        return;
    }
    std::vector<TFrame> stack{{ANode, ADepth, 0, WrittenInline(ANode)}};
    while (!stack.empty()) {
        TFrame& top = stack.back();
        if (top.Next < top.Node->NodeCount()) {
            TUtf8XmlNode* child = top.Node->Nodes(top.Next);
            const int depth = top.Depth + 1;
            if (Open(child, depth, !top.Inline)) {
                stack.push_back({child, depth, 0, WrittenInline(child)});
                continue;
            }
            Close(child, depth, false);
            Progress(Position());
            AfterChild(top.Node, top.Next);
            ++top.Next;
            continue;
        }
        TFrame done = top;
        stack.pop_back();
        Close(done.Node, done.Depth, done.Inline);
        Progress(Position());
        if (!stack.empty()) {
            TFrame& parent = stack.back();
            AfterChild(parent.Node, parent.Next);
            ++parent.Next;
        }
    }
}

} // namespace xml::detail

namespace xml {

std::string TUtf8XmlNode::WriteInnerTag() const
{
    std::string r;
    for (int i = 0; i < AttributeCount(); ++i) r += " " + FAttributes->Items(i);
    if (FElementType == xeNormal && FValue.empty() && NodeCount() == 0 &&
        !(FDocument && FDocument->UseFullNodes()) && TreeDepth() > 0)
        r += "/";
    return r;
}

void TUtf8XmlNode::WriteToStream(rtl::TStream& S)
{
    detail::TXmlWriter writer(&S, FDocument);
    writer.WriteTree(this, TreeDepth());
    writer.Flush();
}

std::string TUtf8XmlNode::WriteToString()
{
    detail::TXmlWriter writer(nullptr, FDocument);
    writer.WriteTree(this, TreeDepth());
    return std::move(writer.Text());
}

std::string TUtf8XmlDom::LineFeed() const
{
    return FXmlFormat == xfReadable ? "\r\n" : "\n";
}

void TUtf8XmlDom::WriteDocument(detail::TXmlWriter& AWriter)
{
    if (!Root() && FParserWarnings) throw rtl::EFilerError("XML root element not defined.");
    AWriter.Progress(0);
    const std::string lf = LineFeed();
    for (int i = 0; i < FRootNodes->NodeCount(); ++i) {
        AWriter.WriteTree(FRootNodes->Nodes(i), 0);
        AWriter.Put(lf);
    }
    AWriter.Flush();
    AWriter.Progress(AWriter.Position());
}

void TUtf8XmlDom::WriteToStream(rtl::TStream& S)
{
    detail::TXmlWriter writer(&S, this);
    WriteDocument(writer);
}

std::string TUtf8XmlDom::WriteToString()
{
    detail::TXmlWriter writer(nullptr, this);
    WriteDocument(writer);
    return std::move(writer.Text());
}

void TUtf8XmlDom::SaveToStream(rtl::TStream& Stream)
{
    TsdBufferedWriteStream buffered(&Stream);
    TsdUtf8Stream codec(&buffered);
    codec.SetEncoding(FExternalEncoding);
    FCodecStream = &codec;
    try {
        WriteToStream(codec);
        buffered.Flush();
    } catch (...) {
        FCodecStream = nullptr;
        try {
            buffered.Flush();
        } catch (...) {
        }
        throw;
    }
    FCodecStream = nullptr;
}

void TUtf8XmlDom::SaveToFile(const std::string& AFileName)
{
    // Gathered in memory and then written in one go through a temporary
    // file, so that a failed save never leaves a truncated file behind.
    rtl::TMemoryStream memory;
    SaveToStream(memory);
    rtl::WriteFileAtomic(AFileName, memory.View());
}

} // namespace xml
