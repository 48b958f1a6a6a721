// Typed values kept as the text of named child elements or attributes.
// A Write is skipped when the document does not write defaults and the
// value equals its default; a Read gives the default for a missing element
// or a text that does not convert (colours excepted).
#include "platform/rtl/Strings.h"
#include "xml/XmlDom.h"

namespace xml {

// --- child elements --------------------------------------------------------------

void TUtf8XmlNode::WriteBool(std::string_view AName, bool AValue, bool ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    NodeFindOrCreate(AName)->SetValueAsString(AValue ? "True" : "False");
}

bool TUtf8XmlNode::ReadBool(std::string_view AName, bool ADefault)
{
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    return node ? node->ValueAsBoolDef(ADefault) : ADefault;
}

void TUtf8XmlNode::WriteInteger(std::string_view AName, int32_t AValue, int32_t ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    NodeFindOrCreate(AName)->SetValueAsString(std::to_string(AValue));
}

int32_t TUtf8XmlNode::ReadInteger(std::string_view AName, int32_t ADefault)
{
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    return node ? node->ValueAsIntegerDef(ADefault) : ADefault;
}

void TUtf8XmlNode::WriteInt64(std::string_view AName, int64_t AValue, int64_t ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    NodeFindOrCreate(AName)->SetValueAsString(std::to_string(AValue));
}

int64_t TUtf8XmlNode::ReadInt64(std::string_view AName, int64_t ADefault)
{
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    return node ? node->ValueAsInt64Def(ADefault) : ADefault;
}

void TUtf8XmlNode::WriteFloat(std::string_view AName, double AValue, double ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    NodeFindOrCreate(AName)->SetValueAsString(FloatToXmlText(AValue, FloatDigits(), FloatAllowScientific()));
}

double TUtf8XmlNode::ReadFloat(std::string_view AName, double ADefault)
{
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    return node ? node->ValueAsFloatDef(ADefault) : ADefault;
}

void TUtf8XmlNode::WriteDateTime(std::string_view AName, rtl::TDateTime AValue, rtl::TDateTime ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    WriteString(AName, DateTimeToXmlText(AValue), "");
}

rtl::TDateTime TUtf8XmlNode::ReadDateTime(std::string_view AName, rtl::TDateTime ADefault)
{
    return XmlTextToDateTime(ReadString(AName, ""), ADefault);
}

void TUtf8XmlNode::WriteString(std::string_view AName, std::string_view AValue, std::string_view ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    NodeFindOrCreate(AName)->SetValueAsString(AValue);
}

std::string TUtf8XmlNode::ReadString(std::string_view AName, std::string_view ADefault)
{
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    return node ? node->ValueAsString() : std::string(ADefault);
}

void TUtf8XmlNode::WriteUnicodeString(std::string_view AName, std::u16string_view AValue,
                                      std::u16string_view ADefault)
{
    WriteString(AName, WideToUtf8(AValue), WideToUtf8(ADefault));
}

std::u16string TUtf8XmlNode::ReadUnicodeString(std::string_view AName, std::u16string_view ADefault)
{
    return Utf8ToWide(ReadString(AName, WideToUtf8(ADefault)));
}

void TUtf8XmlNode::WriteHex(std::string_view AName, int64_t AValue, int Digits, int64_t ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    // Negative values of the 32-bit range are written as their 32-bit
    // pattern, as colours are.
    uint64_t bits = (AValue < 0 && AValue >= INT32_MIN) ? static_cast<uint32_t>(AValue)
                                                         : static_cast<uint64_t>(AValue);
    NodeFindOrCreate(AName)->SetValueAsString("$" + rtl::IntToHex(bits, Digits));
}

void TUtf8XmlNode::WriteColor(std::string_view AName, TXmlColor AValue, TXmlColor ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    WriteHex(AName, ColorToRGB(AValue), 8, 0);
}

TXmlColor TUtf8XmlNode::ReadColor(std::string_view AName, TXmlColor ADefault)
{
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    if (!node) return ADefault;
    std::string text = node->ValueAsString();
    int64_t v;
    // Colours are 32-bit patterns: "$FFFFFFFF" and "-1" are the same value.
    if (!XmlTryStrToInt64(text, v) || v < INT32_MIN || v > UINT32_MAX)
        throw rtl::EConvertError("'" + text + "' is not a valid integer value");
    return static_cast<TXmlColor>(static_cast<uint32_t>(v));
}

// --- font, pen and brush ------------------------------------------------------------

void TUtf8XmlNode::WriteFont(std::string_view AName, const TXmlFont& AFont)
{
    TUtf8XmlNode* node = NodeFindOrCreate(AName);
    node->WriteString("Name", AFont.Name, "Arial");
    node->WriteColor("Color", AFont.Color, 0);
    node->WriteInteger("Size", AFont.Size, 14);
    node->WriteBool("Bold", AFont.Style.Contains(TXmlFontStyle::Bold), false);
    node->WriteBool("Italic", AFont.Style.Contains(TXmlFontStyle::Italic), false);
    node->WriteBool("Underline", AFont.Style.Contains(TXmlFontStyle::Underline), false);
    node->WriteBool("Strikeout", AFont.Style.Contains(TXmlFontStyle::StrikeOut), false);
}

void TUtf8XmlNode::ReadFont(std::string_view AName, TXmlFont& AFont)
{
    AFont.Style.Clear();
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    if (!node) {
        AFont.Name = "Arial";
        AFont.Color = 0;
        AFont.Size = 14;
        return;
    }
    AFont.Name = node->ReadString("Name", "Arial");
    AFont.Color = node->ReadColor("Color", 0);
    AFont.Size = node->ReadInteger("Size", 14);
    if (node->ReadBool("Bold", false)) AFont.Style.Include(TXmlFontStyle::Bold);
    if (node->ReadBool("Italic", false)) AFont.Style.Include(TXmlFontStyle::Italic);
    if (node->ReadBool("Underline", false)) AFont.Style.Include(TXmlFontStyle::Underline);
    if (node->ReadBool("Strikeout", false)) AFont.Style.Include(TXmlFontStyle::StrikeOut);
}

void TUtf8XmlNode::WritePen(std::string_view AName, const TXmlPen& APen)
{
    TUtf8XmlNode* node = NodeFindOrCreate(AName);
    node->WriteColor("Color", APen.Color, 0);
    node->WriteInteger("Mode", APen.Mode, 0);
    node->WriteInteger("Style", APen.Style, 0);
    node->WriteInteger("Width", APen.Width, 0);
}

void TUtf8XmlNode::ReadPen(std::string_view AName, TXmlPen& APen)
{
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    if (!node) {
        APen.Color = 0;
        APen.Mode = cXmlPenModeCopy;
        APen.Style = cXmlPenStyleSolid;
        APen.Width = 1;
        return;
    }
    APen.Color = node->ReadColor("Color", 0);
    APen.Mode = node->ReadInteger("Mode", cXmlPenModeCopy);
    APen.Style = node->ReadInteger("Style", cXmlPenStyleSolid);
    APen.Width = node->ReadInteger("Width", 1);
}

void TUtf8XmlNode::WriteBrush(std::string_view AName, const TXmlBrush& ABrush)
{
    TUtf8XmlNode* node = NodeFindOrCreate(AName);
    node->WriteColor("Color", ABrush.Color, 0);
    node->WriteInteger("Style", ABrush.Style, 0);
}

void TUtf8XmlNode::ReadBrush(std::string_view AName, TXmlBrush& ABrush)
{
    TUtf8XmlNode* node = Nodes(NodeIndexByName(AName));
    if (!node) {
        ABrush.ClearBitmap = true;
        ABrush.Color = 0xFFFFFF;
        ABrush.Style = cXmlBrushStyleSolid;
        return;
    }
    ABrush.ClearBitmap = false;
    ABrush.Color = node->ReadColor("Color", 0xFFFFFF);
    ABrush.Style = node->ReadInteger("Style", cXmlBrushStyleSolid);
}

// --- attributes -------------------------------------------------------------------------

void TUtf8XmlNode::StoreAttribute(std::string_view AName, std::string_view AText)
{
    int index = AttributeIndexByname(AName);
    if (index >= 0) SetAttributeValue(index, AText);
    else AttributeAdd(AName, AText);
}

void TUtf8XmlNode::WriteAttributeBool(std::string_view AName, bool AValue, bool ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    StoreAttribute(AName, BoolToText(AValue));
}

bool TUtf8XmlNode::ReadAttributeBool(std::string_view AName, bool ADefault)
{
    try {
        return TextToBool(AttributeByName(AName));
    } catch (const std::exception&) {
        return ADefault;
    }
}

void TUtf8XmlNode::WriteAttributeInteger(std::string_view AName, int32_t AValue, int32_t ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    StoreAttribute(AName, std::to_string(AValue));
}

int32_t TUtf8XmlNode::ReadAttributeInteger(std::string_view AName, int32_t ADefault)
{
    int32_t v;
    return XmlTryStrToInt(AttributeByName(AName), v) ? v : ADefault;
}

void TUtf8XmlNode::WriteAttributeInt64(std::string_view AName, int64_t AValue, int64_t ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    StoreAttribute(AName, std::to_string(AValue));
}

int64_t TUtf8XmlNode::ReadAttributeInt64(std::string_view AName, int64_t ADefault)
{
    int64_t v;
    return XmlTryStrToInt64(AttributeByName(AName), v) ? v : ADefault;
}

void TUtf8XmlNode::WriteAttributeFloat(std::string_view AName, double AValue, double ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    StoreAttribute(AName, FloatToXmlText(AValue, FloatDigits(), FloatAllowScientific()));
}

double TUtf8XmlNode::ReadAttributeFloat(std::string_view AName, double ADefault)
{
    double v;
    return XmlTextToFloat(AttributeByName(AName), v) ? v : ADefault;
}

void TUtf8XmlNode::WriteAttributeDateTime(std::string_view AName, rtl::TDateTime AValue,
                                          rtl::TDateTime ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    StoreAttribute(AName, DateTimeToXmlText(AValue));
}

rtl::TDateTime TUtf8XmlNode::ReadAttributeDateTime(std::string_view AName, rtl::TDateTime ADefault)
{
    return XmlTextToDateTime(AttributeByName(AName), ADefault);
}

void TUtf8XmlNode::WriteAttributeString(std::string_view AName, std::string_view AValue,
                                        std::string_view ADefault)
{
    if (!WriteOnDefault() && AValue == ADefault) return;
    StoreAttribute(AName, AValue);
}

std::string TUtf8XmlNode::ReadAttributeString(std::string_view AName, std::string_view ADefault)
{
    std::string v = AttributeByName(AName);
    return v.empty() ? std::string(ADefault) : v;
}

} // namespace xml
