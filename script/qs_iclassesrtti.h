// Binding module of the base classes: objects, persistents, lists, string
// lists, streams and components, with the file-mode and seek constants.
//
// The rule a caller must know: the platform's streams are not objects a
// script can hold, so scripts see them through the stream objects below
// (TStream, TFileStream, TMemoryStream); a host hands a stream of its own
// to a script by wrapping it:
//
//     qs::classes::TStream wrap(&myStream);           // borrowed, not freed
//     script->SetVariable("S", Variant::FromObject(&wrap));
//
// The module and the settings-file module (qs_iinirtti.h) join the global
// module list through qsRegisterFileModules; the GUI modules follow through
// qsRegisterBindingModules (script/gui/qs_iguimodules.h).
#pragma once

#include <memory>

#include "platform/rtl/Streams.h"
#include "script/qs_xml.h"
#include "script/qs_iinterpreter.h"

namespace qs {

namespace classes {

// A script-visible stream: owns the platform stream it was created with,
// or borrows one from the host.
class TStream : public rtl::TObject {
public:
    explicit TStream(rtl::TStream* borrowed) : FStream(borrowed) {}
    explicit TStream(std::unique_ptr<rtl::TStream> owned) : FOwned(std::move(owned)), FStream(FOwned.get()) {}
    rtl::TStream& Stream() const { return *FStream; }
    const rtl::TClassInfo* ClassType() const override;

private:
    std::unique_ptr<rtl::TStream> FOwned;
    rtl::TStream* FStream;
};

class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, uint32_t mode);
    const rtl::TClassInfo* ClassType() const override;
};

class TMemoryStream : public TStream {
public:
    TMemoryStream();
    rtl::TMemoryStream& Memory() const { return static_cast<rtl::TMemoryStream&>(Stream()); }
    const rtl::TClassInfo* ClassType() const override;
};

// Script-visible items of the script XML tree (qs_xml.h).  An item made
// with TqsXMLItem.Create owns its tree; items reached from it (Items, Add,
// FindItem, Parent, Root) are views that live as long as that tree and are
// dropped with the subtree that holds them (Clear, loading a document).
struct TXmlForest;
class TqsXMLItem : public rtl::TObject {
public:
    TqsXMLItem();                                    // owns a new, empty tree
    TqsXMLItem(qs::TqsXMLItem* item, TXmlForest* forest);   // a view
    ~TqsXMLItem() override;
    qs::TqsXMLItem* Item() const { return FItem; }
    TXmlForest* Forest() const { return FForest; }
    const rtl::TClassInfo* ClassType() const override;

private:
    friend struct TXmlForest;
    friend class TqsXMLDocument;
    qs::TqsXMLItem* FItem;
    TXmlForest* FForest;
    std::unique_ptr<TXmlForest> FOwnedForest;   // the owner of a tree (and of its views)
    std::unique_ptr<qs::TqsXMLItem> FOwnedItem;
};

class TqsXMLDocument : public rtl::TObject {
public:
    TqsXMLDocument();
    ~TqsXMLDocument() override;
    qs::TqsXMLDocument& Document() const { return *FDocument; }
    TXmlForest& Forest() const { return *FForest; }
    const rtl::TClassInfo* ClassType() const override;

private:
    std::unique_ptr<qs::TqsXMLDocument> FDocument;
    std::unique_ptr<TXmlForest> FForest;
};

// The members of the two XML classes (the module's dispatch for them).
Variant CallXml(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& Name,
                TqsMethodHelper* Caller);
void SetXml(rtl::TObject* Instance, const std::string& Name, const Variant& Value);
const rtl::TClassInfo& XMLItemClass();
const rtl::TClassInfo& XMLDocumentClass();

// The descriptors the module registers.
const rtl::TClassInfo& StreamClass();
const rtl::TClassInfo& FileStreamClass();
const rtl::TClassInfo& MemoryStreamClass();
const rtl::TClassInfo& StringsClass();   // "TStrings": string lists seen as the abstract base

// The platform stream behind a script value (a TStream object), or
// nullptr for anything else.
rtl::TStream* StreamOf(const Variant& v);

// Reads up to count bytes as a script string, one character per byte
// (0-255), and writes back at most the string's characters, each as one
// byte; both return the number of bytes moved.
int64_t ReadBytesAsText(rtl::TStream& s, int64_t count, std::string& text);
int64_t WriteTextAsBytes(rtl::TStream& s, const std::string& text, int64_t count);

} // namespace classes

class TqsClassesFunctions : public TqsRTTIModule {
public:
    explicit TqsClassesFunctions(TqsScript* AScript);

private:
    Variant CallMethod(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& MethodName,
                       TqsMethodHelper* Caller);
    Variant GetProp(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& PropName);
    void SetProp(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& PropName,
                 const Variant& Value);
};

// Appends the settings-file and base-class modules to the global module
// list (once); programs that add their modules afterwards see them.
void qsRegisterFileModules();
// Takes a module class out of the global list again (nothing once the
// list is gone at shut-down).
void qsUnregisterModule(TqsRTTIModuleClass Module);
// Appends a module class to the global list unless it is there.
void qsRegisterModule(TqsRTTIModuleClass Module);

} // namespace qs
