// The XML document library: a document with its node tree, read from
// files, streams and strings in the encodings it detects, edited through
// the node operations, and written in a readable or a compact layout.
//
// All text inside the tree is UTF-8.  A node's Value keeps the escaped form
// written in the file ("&amp;"); ValueAsString and the typed readers resolve
// the references, the setters and writers escape.  Element names are
// matched without regard to case.
//
// TUtf8XmlDom / TUtf8XmlNode work on UTF-8 strings.  TWideXmlDom /
// TWideXmlNode, which the application uses, add no data: their node
// operations return TWideXmlNode, and they add UTF-16 overloads of the
// common operations.
//
// Ownership: a document owns its root node list and through it every
// node; a node owns its children.  A node made by the caller (new
// TWideXmlNode(doc)) belongs to the caller until NodeAdd or NodeInsert
// hands it to a parent; NodeExtract gives it back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Set.h"
#include "platform/rtl/Streams.h"
#include "xml/XmlDomGraphics.h"
#include "xml/XmlDomStreams.h"
#include "xml/XmlDomTexts.h"

namespace xml {

class TUtf8XmlDom;
class TUtf8XmlNode;
class TWideXmlDom;
class TWideXmlNode;
namespace detail {
class TXmlParser;
class TXmlWriter;
}

// Raised when a node of the UTF-8 class is met where a wide node is needed.
class EInvalidCast : public rtl::Exception {
public:
    using Exception::Exception;
};

// Of a fixed underlying type, so that a value outside the list (stored or
// set from a number) is still a value, which the writer refuses.
enum TXmlElementType : int {
    xeNormal,       // an element
    xeComment,      // <!--...-->
    xeCData,        // <![CDATA[...]]>
    xeDeclaration,  // <?xml ...?>
    xeStylesheet,   // <?xml-stylesheet ...?>
    xeDoctype,      // <!DOCTYPE ...>
    xeElement,      // <!ELEMENT ...>
    xeAttList,      // <!ATTLIST ...>
    xeEntity,       // <!ENTITY ...>
    xeNotation,     // <!NOTATION ...>
    xeExclam,       // any other <!...>
    xeQuestion,     // a processing instruction <?...?>
    xeCharData,     // a further text run of an element
    xeUnknown
};

enum TXmlFormatType { xfReadable, xfCompact };

enum TBinaryEncodingType { xbeBinHex, xbeBase64 };

enum TXmlCompareOption {
    xcNodeName,
    xcNodeType,
    xcNodeValue,
    xcAttribCount,
    xcAttribNames,
    xcAttribValues,
    xcChildCount,
    xcChildNames,
    xcChildValues,
    xcRecursive
};
using TXmlCompareOptions = rtl::Set<TXmlCompareOption, 16>;

using TXmlNodeEvent = std::function<void(rtl::TObject* Sender, TUtf8XmlNode* Node)>;
using TXmlProgressEvent = std::function<void(rtl::TObject* Sender, int32_t Size)>;
using TXmlNodeCompareEvent =
    std::function<int(rtl::TObject* Sender, TUtf8XmlNode* Node1, TUtf8XmlNode* Node2, void* Info)>;
using TXmlNodeCompareFunction =
    std::function<int(TUtf8XmlNode* Node1, TUtf8XmlNode* Node2, void* Info)>;
using TWideXmlNodeEvent = std::function<void(rtl::TObject* Sender, TWideXmlNode* Node)>;
using TWideXmlNodeCompareEvent =
    std::function<int(rtl::TObject* Sender, TWideXmlNode* Node1, TWideXmlNode* Node2, void* Info)>;
using TWideXmlNodeCompareFunction =
    std::function<int(TWideXmlNode* Node1, TWideXmlNode* Node2, void* Info)>;

// Makes a detached node of one node class for a document.
using TXmlNodeClass = TUtf8XmlNode* (*)(TUtf8XmlDom* ADocument);

// The names of elements are equal when they are equal ignoring case (of
// any letter).
bool XmlSameName(std::string_view A, std::string_view B);

// The attribute list of a node: each item is the raw text written to the
// file, name "=" quoted escaped value.
class TsdUTF8StringList : public rtl::TPersistent {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Empty text outside 0..Count-1.
    const std::string& Items(int Index) const;
    void SetItems(int Index, std::string AValue);
    int Add(std::string AValue);
    // Outside 0..Count-1 nothing happens.
    void Delete(int Index);
    void Exchange(int Index1, int Index2);
    void Clear() { FItems.clear(); }
    // The first item that begins with AName and "=", ASCII letters
    // compared without regard to case; -1 when none.
    int IndexOfName(std::string_view AName) const;
    // The text after "=" of the named item; empty when none.
    std::string Values(std::string_view AName) const;
    // Replaces the named item in place ("name=value", the name as given)
    // or appends one; an empty AValue deletes the item.
    void SetValues(std::string_view AName, std::string_view AValue);
    // All items, each followed by CR LF.
    std::string Text() const;
    void Assign(const rtl::TPersistent* Source) override;

private:
    std::vector<std::string> FItems;
};

class TUtf8XmlNode : public rtl::TPersistent {
public:
    explicit TUtf8XmlNode(TUtf8XmlDom* ADocument);
    TUtf8XmlNode(TUtf8XmlDom* ADocument, std::string_view AName);
    TUtf8XmlNode(TUtf8XmlDom* ADocument, std::string_view AName, std::string_view AValue);
    TUtf8XmlNode(TUtf8XmlDom* ADocument, TXmlElementType AType);
    ~TUtf8XmlNode() override;

    std::string ClassName() const override { return "TUtf8XmlNode"; }

    // --- the node itself ---------------------------------------------------
    const std::string& Name() const { return FName; }
    // Nothing when unchanged; a blank, tab, CR or LF in the name raises
    // 'Illegal character in node name "<name>"'.
    void SetName(std::string_view AName);
    // The stored, escaped text.
    const std::string& Value() const { return FValue; }
    void SetValue(std::string_view AValue) { FValue = AValue; }
    TXmlElementType ElementType() const { return FElementType; }
    void SetElementType(TXmlElementType AValue) { FElementType = AValue; }
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t AValue) { FTag = AValue; }
    TUtf8XmlNode* Parent() const { return FParent; }
    TUtf8XmlDom* Document() const { return FDocument; }

    // --- children -------------------------------------------------------------
    int NodeCount() const { return FNodes ? static_cast<int>(FNodes->size()) : 0; }
    // The child at Index; nullptr outside 0..NodeCount-1.
    TUtf8XmlNode* Nodes(int Index) const;
    // Appends ANode (its parent becomes this node, it and its descendants
    // take this node's document); -1 for nullptr.
    virtual int NodeAdd(TUtf8XmlNode* ANode);
    // A new child of this node's class, appended.
    virtual TUtf8XmlNode* NodeNew(std::string_view AName);
    // nullptr (and nothing created) when Index is outside 0..NodeCount.
    TUtf8XmlNode* NodeNewAtIndex(int Index, std::string_view AName);
    virtual void NodeInsert(int Index, TUtf8XmlNode* ANode);
    // The first child named AName, else a new one appended.
    virtual TUtf8XmlNode* NodeFindOrCreate(std::string_view AName);
    virtual TUtf8XmlNode* NodeByName(std::string_view AName);
    virtual int NodeIndexByName(std::string_view AName);
    virtual int NodeIndexByNameFrom(std::string_view AName, int AFrom);
    int NodeIndexOf(const TUtf8XmlNode* ANode) const;
    // AList cleared, then every direct child named AName, in order.
    void NodesByName(std::string_view AName, std::vector<TUtf8XmlNode*>* AList);
    TUtf8XmlNode* NodeByElementType(TXmlElementType AType);
    // Destroys the child at Index (out of range: nothing).
    virtual void NodeDelete(int Index);
    int NodeRemove(TUtf8XmlNode* ANode);
    // Removes ANode from the children without destroying it; the caller
    // owns it afterwards.  nullptr when it is not a child.
    virtual TUtf8XmlNode* NodeExtract(TUtf8XmlNode* ANode);
    void NodeExchange(int Index1, int Index2);
    virtual void NodesClear();
    // Destroys this node through its parent; nothing without a parent.
    // The node must not be used afterwards.
    virtual void Delete();
    // Empties name and value, drops attributes and children.
    virtual void Clear();
    // No value, no children, no attributes.
    virtual bool IsEmpty() const;
    // IsEmpty and no name.
    virtual bool IsClear() const;
    int IndexInParent() const;

    // --- attributes --------------------------------------------------------------
    void AttributeAdd(std::string_view AName, std::string_view AValue);
    void AttributeAdd(std::string_view AName, int32_t AValue);
    // Unquoted and unescaped value of the first attribute of that name;
    // empty when missing.
    std::string AttributeByName(std::string_view AName) const;
    void SetAttributeByName(std::string_view AName, std::string_view AValue);
    int AttributeIndexByname(std::string_view AName) const;
    virtual bool HasAttribute(std::string_view AName) const;
    int AttributeCount() const { return FAttributes ? FAttributes->Count() : 0; }
    std::string AttributeName(int Index) const;
    std::string AttributeValue(int Index) const;
    void SetAttributeValue(int Index, std::string_view AValue);
    std::string AttributePair(int Index) const;
    void AttributeDelete(int Index);
    void AttributeExchange(int Index1, int Index2);
    virtual void AttributesClear();
    void DeleteEmptyAttributes();
    // The raw attribute list (nullptr while there is none).
    TsdUTF8StringList* Attributes() const { return FAttributes; }

    // --- values of the node ------------------------------------------------
    std::string ValueAsString() const { return UnescapeValue(FValue); }
    void SetValueAsString(std::string_view AValue) { FValue = EscapeString(AValue); }
    std::u16string ValueAsUnicodeString() const { return Utf8ToWide(ValueAsString()); }
    void SetValueAsUnicodeString(std::u16string_view AValue) { SetValueAsString(WideToUtf8(AValue)); }
    // "Cannot convert value to bool" on a text that is no Boolean.
    bool ValueAsBool() const;
    void SetValueAsBool(bool AValue) { FValue = BoolToText(AValue); }
    // The integer conversion error on a text that is no integer.
    int32_t ValueAsInteger() const;
    void SetValueAsInteger(int32_t AValue) { FValue = std::to_string(AValue); }
    int64_t ValueAsInt64() const;
    void SetValueAsInt64(int64_t AValue) { FValue = std::to_string(AValue); }
    // "Cannot convert value to float" on a text that is no number.
    double ValueAsFloat() const;
    void SetValueAsFloat(double AValue);
    rtl::TDateTime ValueAsDateTime() const;
    void SetValueAsDateTime(rtl::TDateTime AValue) { SetValueAsString(DateTimeToXmlText(AValue)); }
    virtual bool ValueAsBoolDef(bool ADefault) const;
    virtual rtl::TDateTime ValueAsDateTimeDef(rtl::TDateTime ADefault) const;
    virtual double ValueAsFloatDef(double ADefault) const;
    virtual int64_t ValueAsInt64Def(int64_t ADefault) const;
    virtual int32_t ValueAsIntegerDef(int32_t ADefault) const;
    virtual std::string UnescapeValue(const std::string& AValue) const;

    // --- binary values ---------------------------------------------------------
    virtual void BufferWrite(const void* Buffer, int Count);
    virtual void BufferRead(void* Buffer, int Count);
    virtual int BufferLength() const;
    std::string BinaryString();
    void SetBinaryString(std::string_view AValue);

    // --- reading and writing text --------------------------------------------
    // Parses one node (with its content) from UTF-8 bytes.
    virtual void ReadFromStream(rtl::TStream& S);
    virtual void ReadFromString(std::string_view AValue);
    virtual void WriteToStream(rtl::TStream& S);
    // The node as UTF-8 XML text, without byte-order mark.
    virtual std::string WriteToString();
    virtual std::string WriteInnerTag() const;
    static std::string FromAnsiString(std::string_view S) { return CodePageToUtf8(S); }
    static std::string FromUnicodeString(std::u16string_view W) { return WideToUtf8(W); }
    static std::u16string ToUnicodeString(std::string_view S) { return Utf8ToWide(S); }

    // --- the tree ----------------------------------------------------------------
    // The first descendant in pre-order named ANodeName; a name starting
    // with "/" is compared with the descendants' FullPath.
    TUtf8XmlNode* FindNode(std::string_view ANodeName);
    void FindNodes(std::string_view ANodeName, std::vector<TUtf8XmlNode*>* AList);
    TUtf8XmlNode* NodeByAttributeValue(std::string_view ANodeName, std::string_view AAttribName,
                                       std::string_view AAttribValue, bool ShouldRecurse = true);
    std::string FullPath() const;
    // -1 without parent; the root element has depth 0.
    int TreeDepth() const;
    int TotalNodeCount() const;
    std::string CascadedName() const;
    void DeleteEmptyNodes();
    bool IsEqualTo(TUtf8XmlNode* ANode, TXmlCompareOptions Options,
                   std::vector<TUtf8XmlNode*>* MismatchNodes = nullptr);
    void SortChildNodes(const TXmlNodeCompareFunction& Compare = nullptr, void* Info = nullptr);
    void ResolveEntityReferences();
    // From a node: a copy of its whole subtree; from a document: of its
    // root node list.
    void Assign(const rtl::TPersistent* Source) override;

    // --- typed values as child elements ------------------------------------------
    virtual void WriteBool(std::string_view AName, bool AValue, bool ADefault = false);
    virtual bool ReadBool(std::string_view AName, bool ADefault = false);
    virtual void WriteInteger(std::string_view AName, int32_t AValue, int32_t ADefault = 0);
    virtual int32_t ReadInteger(std::string_view AName, int32_t ADefault = 0);
    virtual void WriteInt64(std::string_view AName, int64_t AValue, int64_t ADefault = 0);
    virtual int64_t ReadInt64(std::string_view AName, int64_t ADefault = 0);
    virtual void WriteFloat(std::string_view AName, double AValue, double ADefault = 0.0);
    virtual double ReadFloat(std::string_view AName, double ADefault = 0.0);
    virtual void WriteDateTime(std::string_view AName, rtl::TDateTime AValue,
                               rtl::TDateTime ADefault = 0.0);
    virtual rtl::TDateTime ReadDateTime(std::string_view AName, rtl::TDateTime ADefault = 0.0);
    virtual void WriteString(std::string_view AName, std::string_view AValue,
                             std::string_view ADefault = {});
    virtual std::string ReadString(std::string_view AName, std::string_view ADefault = {});
    virtual void WriteUnicodeString(std::string_view AName, std::u16string_view AValue,
                                    std::u16string_view ADefault = {});
    virtual std::u16string ReadUnicodeString(std::string_view AName,
                                             std::u16string_view ADefault = {});
    // "$" and eight upper-case hex digits of ColorToRGB(AValue).
    virtual void WriteColor(std::string_view AName, TXmlColor AValue, TXmlColor ADefault = 0);
    // Raises the integer conversion error on an empty or malformed text.
    virtual TXmlColor ReadColor(std::string_view AName, TXmlColor ADefault = 0);
    virtual void WriteHex(std::string_view AName, int64_t AValue, int Digits, int64_t ADefault = 0);
    virtual void WriteFont(std::string_view AName, const TXmlFont& AFont);
    virtual void ReadFont(std::string_view AName, TXmlFont& AFont);
    virtual void WritePen(std::string_view AName, const TXmlPen& APen);
    virtual void ReadPen(std::string_view AName, TXmlPen& APen);
    virtual void WriteBrush(std::string_view AName, const TXmlBrush& ABrush);
    virtual void ReadBrush(std::string_view AName, TXmlBrush& ABrush);

    // --- typed values as attributes --------------------------------------------
    virtual void WriteAttributeBool(std::string_view AName, bool AValue, bool ADefault = false);
    virtual bool ReadAttributeBool(std::string_view AName, bool ADefault = false);
    virtual void WriteAttributeInteger(std::string_view AName, int32_t AValue, int32_t ADefault = 0);
    virtual int32_t ReadAttributeInteger(std::string_view AName, int32_t ADefault = 0);
    virtual void WriteAttributeInt64(std::string_view AName, int64_t AValue, int64_t ADefault = 0);
    virtual int64_t ReadAttributeInt64(std::string_view AName, int64_t ADefault = 0);
    virtual void WriteAttributeFloat(std::string_view AName, double AValue, double ADefault = 0.0);
    double ReadAttributeFloat(std::string_view AName, double ADefault = 0.0);
    virtual void WriteAttributeDateTime(std::string_view AName, rtl::TDateTime AValue,
                                        rtl::TDateTime ADefault = 0.0);
    virtual rtl::TDateTime ReadAttributeDateTime(std::string_view AName,
                                                 rtl::TDateTime ADefault = 0.0);
    virtual void WriteAttributeString(std::string_view AName, std::string_view AValue,
                                      std::string_view ADefault = {});
    virtual std::string ReadAttributeString(std::string_view AName, std::string_view ADefault = {});

protected:
    // The class of this node, with which it makes its children.
    virtual TXmlNodeClass NodeClass() const;
    // The settings a node without document uses.
    bool WriteOnDefault() const;
    int FloatDigits() const;
    bool FloatAllowScientific() const;
    TBinaryEncodingType BinaryEncoding() const;
    // Sets the document of this node and of all its descendants.
    void SetDocumentDeep(TUtf8XmlDom* ADocument);
    // The attribute write shared by the typed attribute writers.
    void StoreAttribute(std::string_view AName, std::string_view AText);

private:
    friend class TUtf8XmlDom;
    friend class detail::TXmlParser;
    friend class detail::TXmlWriter;

    std::vector<TUtf8XmlNode*>& ChildList();
    void ResolveEntities();

    std::string FName;
    std::string FValue;
    TsdUTF8StringList* FAttributes = nullptr;
    std::vector<TUtf8XmlNode*>* FNodes = nullptr;
    TUtf8XmlNode* FParent = nullptr;
    TUtf8XmlDom* FDocument = nullptr;
    TXmlElementType FElementType = xeNormal;
    int32_t FTag = 0;
};

class TUtf8XmlDom : public rtl::TPersistent {
public:
    // An empty document: the declaration and an unnamed root element.
    TUtf8XmlDom();
    // The same with the root element named ARootName.
    explicit TUtf8XmlDom(std::string_view ARootName);
    ~TUtf8XmlDom() override;

    std::string ClassName() const override { return "TUtf8XmlDom"; }

    // --- options -------------------------------------------------------------------
    bool AbortParsing() const { return FAbortParsing; }
    void SetAbortParsing(bool AValue) { FAbortParsing = AValue; }
    TBinaryEncodingType BinaryEncoding() const { return FBinaryEncoding; }
    void SetBinaryEncoding(TBinaryEncodingType AValue) { FBinaryEncoding = AValue; }
    // The conversion stream, only while loading or saving.
    TsdCodecStream* CodecStream() const { return FCodecStream; }
    bool DropCommentsOnParse() const { return FDropCommentsOnParse; }
    void SetDropCommentsOnParse(bool AValue) { FDropCommentsOnParse = AValue; }
    // The encoding of saving; set to the detected one by every load.
    TStringEncodingType ExternalEncoding() const { return FExternalEncoding; }
    void SetExternalEncoding(TStringEncodingType AValue) { FExternalEncoding = AValue; }
    bool FloatAllowScientific() const { return FFloatAllowScientific; }
    void SetFloatAllowScientific(bool AValue) { FFloatAllowScientific = AValue; }
    int FloatSignificantDigits() const { return FFloatSignificantDigits; }
    void SetFloatSignificantDigits(int AValue) { FFloatSignificantDigits = AValue; }
    bool ParserWarnings() const { return FParserWarnings; }
    void SetParserWarnings(bool AValue) { FParserWarnings = AValue; }
    const std::string& IndentString() const { return FIndentString; }
    void SetIndentString(std::string_view AValue) { FIndentString = AValue; }
    bool UseFullNodes() const { return FUseFullNodes; }
    void SetUseFullNodes(bool AValue) { FUseFullNodes = AValue; }
    bool WriteOnDefault() const { return FWriteOnDefault; }
    void SetWriteOnDefault(bool AValue) { FWriteOnDefault = AValue; }
    TXmlFormatType XmlFormat() const { return FXmlFormat; }
    void SetXmlFormat(TXmlFormatType AValue) { FXmlFormat = AValue; }
    bool Utf8Encoded() const { return true; }

    // Events; the Sender is the document.
    TXmlNodeCompareEvent OnNodeCompare;
    TXmlNodeEvent OnNodeNew;      // a node's start tag has been read
    TXmlNodeEvent OnNodeLoaded;   // a node has been read completely
    TXmlProgressEvent OnProgress;  // a stream position while reading and writing

    // --- the tree ----------------------------------------------------------------------
    // The first top-level element, or nullptr.
    TUtf8XmlNode* Root() const;
    // The node whose children are the top-level items in file order.
    TUtf8XmlNode* RootNodeList() const { return FRootNodes; }
    virtual bool IsEmpty() const;
    // Options back to their defaults, the tree back to the declaration and
    // an unnamed root element.
    virtual void Clear();
    virtual void SetDefaults();
    // The first top-level stylesheet instruction, created at index 1 when
    // there is none.
    TUtf8XmlNode* StyleSheetNode();
    std::string CommentString() const;
    void SetCommentString(std::string_view AValue);
    std::string EncodingString() const;
    void SetEncodingString(std::string_view AValue);
    std::string VersionString() const;
    void SetVersionString(std::string_view AValue);
    // The replacement text of a DTD entity ("" when none).
    std::string EntityValueByName(std::string_view AName) const;
    void ResolveEntityReferences();

    // --- loading and saving -------------------------------------------------------------
    // Reads the file (others may read it meanwhile).  A missing file
    // raises EFOpenError and leaves the document unchanged.
    virtual void LoadFromFile(const std::string& AFileName);
    // Reads Stream from its start, detecting the encoding.
    virtual void LoadFromStream(rtl::TStream& Stream);
    // Parses UTF-8 text (no byte-order mark, no detection).
    virtual void ReadFromString(std::string_view AValue);
    // Parses the top level from a stream of UTF-8 bytes.
    virtual void ReadFromStream(rtl::TStream& S);
    // Writes the document in ExternalEncoding, byte-order mark first.  The
    // file is replaced only once the whole document has been written, so a
    // failure leaves the previous file in place; it raises EFCreateError.
    virtual void SaveToFile(const std::string& AFileName);
    virtual void SaveToStream(rtl::TStream& Stream);
    // Writes UTF-8 bytes without byte-order mark.
    virtual void WriteToStream(rtl::TStream& S);
    virtual std::string WriteToString();
    // "\r\n" in the readable layout, "\n" in the compact one.
    virtual std::string LineFeed() const;

    // From a document: its options (not the float options and events) and
    // a copy of its tree; from a node: a copy of that node.
    void Assign(const rtl::TPersistent* Source) override;
    virtual void AssignFrom(const rtl::TPersistent* Source);

    // The node class of this document's nodes.
    virtual TXmlNodeClass NodeClass() const;

protected:
    // For derived documents, which pass their node class (a constructor
    // cannot reach a derived NodeClass).
    explicit TUtf8XmlDom(TXmlNodeClass ANodeClass);
    TUtf8XmlDom(TXmlNodeClass ANodeClass, std::string_view ARootName);

private:
    friend class TUtf8XmlNode;
    friend class detail::TXmlParser;
    friend class detail::TXmlWriter;
    void Init(TXmlNodeClass ANodeClass);
    // The top-level nodes through a writer, with progress at both ends.
    void WriteDocument(detail::TXmlWriter& AWriter);

    bool FAbortParsing = false;
    TBinaryEncodingType FBinaryEncoding = xbeBase64;
    TsdCodecStream* FCodecStream = nullptr;
    bool FDropCommentsOnParse = false;
    TStringEncodingType FExternalEncoding = seUTF8;
    bool FFloatAllowScientific = true;
    int FFloatSignificantDigits = 12;
    bool FParserWarnings = false;
    TUtf8XmlNode* FRootNodes = nullptr;
    std::string FIndentString = "  ";
    bool FUseFullNodes = false;
    bool FWriteOnDefault = true;
    TXmlFormatType FXmlFormat = xfCompact;
};

// The node class of the application's documents.  It adds no data; its
// node operations return TWideXmlNode, and the common operations take
// UTF-16 texts as well as UTF-8 ones.
class TWideXmlNode : public TUtf8XmlNode {
public:
    using TUtf8XmlNode::TUtf8XmlNode;
    std::string ClassName() const override { return "TWideXmlNode"; }

    // nullptr stays nullptr; a node of another class raises EInvalidCast.
    static TWideXmlNode* Cast(TUtf8XmlNode* ANode);

    TWideXmlNode* Parent() const { return Cast(TUtf8XmlNode::Parent()); }
    TWideXmlNode* Nodes(int Index) const { return Cast(TUtf8XmlNode::Nodes(Index)); }
    TWideXmlNode* NodeNew(std::string_view AName) override;
    TWideXmlNode* NodeNewAtIndex(int Index, std::string_view AName);
    TWideXmlNode* NodeFindOrCreate(std::string_view AName) override;
    TWideXmlNode* NodeByName(std::string_view AName) override;
    TWideXmlNode* NodeByElementType(TXmlElementType AType);
    TWideXmlNode* FindNode(std::string_view ANodeName);
    TWideXmlNode* NodeByAttributeValue(std::string_view ANodeName, std::string_view AAttribName,
                                       std::string_view AAttribValue, bool ShouldRecurse = true);
    void SortChildNodes(const TWideXmlNodeCompareFunction& Compare, void* Info = nullptr);
    using TUtf8XmlNode::SortChildNodes;

    // UTF-16 forms.
    using TUtf8XmlNode::NodeIndexByName;
    using TUtf8XmlNode::AttributeByName;
    using TUtf8XmlNode::SetAttributeByName;
    using TUtf8XmlNode::ReadBool;
    using TUtf8XmlNode::WriteBool;
    using TUtf8XmlNode::ReadInteger;
    using TUtf8XmlNode::WriteInteger;
    using TUtf8XmlNode::ReadFloat;
    using TUtf8XmlNode::WriteFloat;
    using TUtf8XmlNode::ReadString;
    using TUtf8XmlNode::WriteString;
    using TUtf8XmlNode::ReadColor;
    using TUtf8XmlNode::WriteColor;
    using TUtf8XmlNode::ReadAttributeInteger;
    using TUtf8XmlNode::WriteAttributeInteger;
    using TUtf8XmlNode::ReadAttributeString;
    using TUtf8XmlNode::WriteAttributeString;
    std::u16string WideName() const { return Utf8ToWide(Name()); }
    void SetName(std::u16string_view AName) { TUtf8XmlNode::SetName(WideToUtf8(AName)); }
    using TUtf8XmlNode::SetName;
    TWideXmlNode* NodeNew(std::u16string_view AName) { return NodeNew(WideToUtf8(AName)); }
    TWideXmlNode* NodeFindOrCreate(std::u16string_view AName) { return NodeFindOrCreate(WideToUtf8(AName)); }
    TWideXmlNode* NodeByName(std::u16string_view AName) { return NodeByName(WideToUtf8(AName)); }
    int NodeIndexByName(std::u16string_view AName) { return NodeIndexByName(WideToUtf8(AName)); }
    std::u16string AttributeByName(std::u16string_view AName) const
    {
        return Utf8ToWide(AttributeByName(WideToUtf8(AName)));
    }
    void SetAttributeByName(std::u16string_view AName, std::u16string_view AValue)
    {
        SetAttributeByName(WideToUtf8(AName), WideToUtf8(AValue));
    }
    bool ReadBool(std::u16string_view AName, bool ADefault = false) { return ReadBool(WideToUtf8(AName), ADefault); }
    void WriteBool(std::u16string_view AName, bool AValue, bool ADefault = false)
    {
        WriteBool(WideToUtf8(AName), AValue, ADefault);
    }
    int32_t ReadInteger(std::u16string_view AName, int32_t ADefault = 0)
    {
        return ReadInteger(WideToUtf8(AName), ADefault);
    }
    void WriteInteger(std::u16string_view AName, int32_t AValue, int32_t ADefault = 0)
    {
        WriteInteger(WideToUtf8(AName), AValue, ADefault);
    }
    double ReadFloat(std::u16string_view AName, double ADefault = 0.0)
    {
        return ReadFloat(WideToUtf8(AName), ADefault);
    }
    void WriteFloat(std::u16string_view AName, double AValue, double ADefault = 0.0)
    {
        WriteFloat(WideToUtf8(AName), AValue, ADefault);
    }
    std::u16string ReadString(std::u16string_view AName, std::u16string_view ADefault = {})
    {
        return Utf8ToWide(ReadString(WideToUtf8(AName), WideToUtf8(ADefault)));
    }
    void WriteString(std::u16string_view AName, std::u16string_view AValue,
                     std::u16string_view ADefault = {})
    {
        WriteString(WideToUtf8(AName), WideToUtf8(AValue), WideToUtf8(ADefault));
    }
    TXmlColor ReadColor(std::u16string_view AName, TXmlColor ADefault = 0)
    {
        return ReadColor(WideToUtf8(AName), ADefault);
    }
    void WriteColor(std::u16string_view AName, TXmlColor AValue, TXmlColor ADefault = 0)
    {
        WriteColor(WideToUtf8(AName), AValue, ADefault);
    }
    int32_t ReadAttributeInteger(std::u16string_view AName, int32_t ADefault = 0)
    {
        return ReadAttributeInteger(WideToUtf8(AName), ADefault);
    }
    void WriteAttributeInteger(std::u16string_view AName, int32_t AValue, int32_t ADefault = 0)
    {
        WriteAttributeInteger(WideToUtf8(AName), AValue, ADefault);
    }
    std::u16string ReadAttributeString(std::u16string_view AName, std::u16string_view ADefault = {})
    {
        return Utf8ToWide(ReadAttributeString(WideToUtf8(AName), WideToUtf8(ADefault)));
    }
    void WriteAttributeString(std::u16string_view AName, std::u16string_view AValue,
                              std::u16string_view ADefault = {})
    {
        WriteAttributeString(WideToUtf8(AName), WideToUtf8(AValue), WideToUtf8(ADefault));
    }

protected:
    TXmlNodeClass NodeClass() const override;
};

// The document class of the application: every node it makes is a
// TWideXmlNode.
class TWideXmlDom : public TUtf8XmlDom {
public:
    TWideXmlDom();
    explicit TWideXmlDom(std::string_view ARootName);
    std::string ClassName() const override { return "TWideXmlDom"; }

    TWideXmlNode* Root() const { return TWideXmlNode::Cast(TUtf8XmlDom::Root()); }
    TWideXmlNode* RootNodeList() const { return TWideXmlNode::Cast(TUtf8XmlDom::RootNodeList()); }
    TWideXmlNode* StyleSheetNode() { return TWideXmlNode::Cast(TUtf8XmlDom::StyleSheetNode()); }

    std::u16string WideIndentString() const { return Utf8ToWide(IndentString()); }
    void SetIndentString(std::u16string_view AValue) { TUtf8XmlDom::SetIndentString(WideToUtf8(AValue)); }
    using TUtf8XmlDom::SetIndentString;
    void SetCommentString(std::u16string_view AValue) { TUtf8XmlDom::SetCommentString(WideToUtf8(AValue)); }
    using TUtf8XmlDom::SetCommentString;
    void SetEncodingString(std::u16string_view AValue) { TUtf8XmlDom::SetEncodingString(WideToUtf8(AValue)); }
    using TUtf8XmlDom::SetEncodingString;
    void SetVersionString(std::u16string_view AValue) { TUtf8XmlDom::SetVersionString(WideToUtf8(AValue)); }
    using TUtf8XmlDom::SetVersionString;

    // The events with wide nodes, over the same fields as OnNodeNew,
    // OnNodeLoaded and OnNodeCompare.
    void SetOnNodeNew(TWideXmlNodeEvent AEvent);
    void SetOnNodeLoaded(TWideXmlNodeEvent AEvent);
    void SetOnNodeCompare(TWideXmlNodeCompareEvent AEvent);

    TXmlNodeClass NodeClass() const override;
};

} // namespace xml
