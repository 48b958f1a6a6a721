// The binary component stream: components with their published (and
// defined) properties as tagged values.  Byte format, all integers
// little-endian, a short string being a length byte and that many bytes:
//   "TPF0", class name, component name (short strings), then properties as
//   name (short string; "Font.Name" inside an object property) + value tag
//   + value, vaNull ending them, then the child components and a vaNull
//   ending that list.
// Values equal to their defaults are not written (see IsDefaultPropValue),
// nor read-only properties.  Floats travel as 10-byte extended precision,
// encoded explicitly so that the bytes do not depend on the machine.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Variant.h"

namespace rtl {

class TReader;
class TWriter;
class TCollection;

enum class TValueType : uint8_t {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
    vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
    vaInt64, vaUTF8String, vaDouble
};

// 10-byte extended precision: 64-bit mantissa with explicit integer bit,
// 15-bit exponent (bias 16383), sign.
void ExtendedToBytes(long double value, uint8_t out[10]);
long double BytesToExtended(const uint8_t in[10]);

// What the string writer chooses for a text: vaString (up to 255 characters
// below 128), vaLString (longer, below 128), vaUTF8String (some character
// at 128 or above and fewer UTF-8 bytes than twice the UTF-16 length),
// vaWString otherwise.
TValueType StringValueType(const std::string& utf8);

class TFiler {
public:
    explicit TFiler(TStream& stream) : FStream(stream) {}
    virtual ~TFiler() = default;
    TStream& Stream() { return FStream; }
    TComponent* Root() const { return FRoot; }
    void SetRoot(TComponent* root) { FRoot = root; }

    // Stored data beyond the published properties (called from
    // TPersistent::DefineProperties).  hasData tells the writer whether to
    // write the property at all.
    virtual void DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                                const std::function<void(TWriter&)>& writeData, bool hasData) = 0;
    virtual void DefineBinaryProperty(const std::string& name,
                                      const std::function<void(TStream&)>& readData,
                                      const std::function<void(TStream&)>& writeData, bool hasData) = 0;

protected:
    TStream& FStream;
    TComponent* FRoot = nullptr;
};

class TWriter : public TFiler {
public:
    using TFiler::TFiler;

    void WriteSignature();
    // Signature, then the root with its children (TComponent::GetChildren).
    void WriteRootComponent(TComponent* root);
    void WriteComponent(TComponent* component);
    // Published properties in declaration order, then defined ones.
    void WriteProperties(const TPersistent* instance);
    // Only the defined ones (DefineProperties), without an end marker.
    void WriteDefinedProperties(const TPersistent* instance);
    void WriteCollection(const TCollection* collection);

    void WriteValue(TValueType type);
    void WriteListBegin() { WriteValue(TValueType::vaList); }
    void WriteListEnd() { WriteValue(TValueType::vaNull); }
    void WriteInteger(int64_t value);  // the smallest of vaInt8/16/32, else vaInt64
    void WriteBoolean(bool value);
    void WriteFloat(long double value);  // vaExtended
    void WriteDouble(double value);
    void WriteSingle(float value);
    void WriteCurrency(int64_t scaled);
    void WriteDate(double value);
    void WriteString(const std::string& utf8);  // kind by StringValueType
    void WriteIdent(const std::string& ident);
    void WriteSet(const TTypeInfo* setType, uint64_t mask);
    void WriteVariant(const Variant& value);
    void WriteBinary(const std::string& bytes);
    // A short string without tag (names).
    void WriteStr(const std::string& s);
    void WritePropName(const std::string& name);

    void DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                        const std::function<void(TWriter&)>& writeData, bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                              const std::function<void(TStream&)>& writeData, bool hasData) override;

private:
    void WriteProperty(const TPersistent* instance, const TPropInfo* prop);
    void WriteBytes(const void* p, int64_t n) { FStream.WriteBuffer(p, n); }
    std::string FPropPath;  // prefix of nested property names ("Font.")
};

class TReader : public TFiler {
public:
    using TFiler::TFiler;

    // Raises EReadError "Invalid stream format" unless the stream starts
    // with "TPF0".
    void ReadSignature();
    // Reads a whole component stream.  Without root the component is
    // created from its class name (registered classes only; otherwise
    // EClassNotFound "Class <name> not found") with owner as its owner.
    // Children are created with the root as owner.  After reading, component
    // references are resolved and every component read gets Loaded().
    TComponent* ReadRootComponent(TComponent* root, TComponent* owner = nullptr);
    // Reads properties up to the vaNull that ends them.
    void ReadProperties(TPersistent* instance);
    // Reads one property (name and value): published, dotted or defined.
    // Unknown names raise EReadError "Error reading <object>.<name>:
    // Property <name> does not exist".
    void ReadProperty(TPersistent* instance);
    void ReadCollection(TCollection* collection);

    TValueType ReadValue();
    TValueType NextValue();
    // Whether the next byte is the vaNull ending a list (a property name's
    // length byte may be any value, so it is not checked as a tag).
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    int64_t ReadInteger();
    bool ReadBoolean();
    long double ReadFloat();  // any float or integer value
    std::string ReadString(); // any string value, as UTF-8
    std::string ReadIdent();
    uint64_t ReadSet(const TTypeInfo* setType);
    Variant ReadVariant();
    std::string ReadBinary();
    std::string ReadStr();    // a short string without tag
    void SkipValue();

    void DefineProperty(const std::string& name, const std::function<void(TReader&)>& readData,
                        const std::function<void(TWriter&)>& writeData, bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const std::function<void(TStream&)>& readData,
                              const std::function<void(TStream&)>& writeData, bool hasData) override;

private:
    struct Fixup {
        TObject* Instance;
        const TPropInfo* Prop;
        std::string Name;
    };
    TComponent* ReadComponent(TComponent* component, TComponent* owner);
    void ReadPropValue(TPersistent* instance, const TPropInfo* prop);
    void ResolveFixups();
    [[noreturn]] void InvalidValue();
    void ReadBytes(void* p, int64_t n) { FStream.ReadBuffer(p, n); }
    uint8_t ReadByte();

    std::vector<Fixup> FFixups;
    std::vector<TComponent*> FLoaded;
    std::string FPropName;  // the defined property being looked for
    bool FCanHandle = false;
};

// Writes a component stream of instance (TStream.WriteComponent).
void WriteComponentToStream(TStream& stream, TComponent* instance);
// Reads one component stream from the stream's position into instance, or
// into a new component of the stream's class owned by owner.
TComponent* ReadComponentFromStream(TStream& stream, TComponent* instance, TComponent* owner = nullptr);

} // namespace rtl
