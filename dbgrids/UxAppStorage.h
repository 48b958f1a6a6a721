// The application storage: an abstract, hierarchical store of named values
// addressed by backslash paths ("Grid\Columns\Count").  The layer here
// normalises paths, keeps a current path, hands whole sub-trees to other
// storages (sub-storages), converts typed values to the medium's primitive
// forms under the storage options, and stores lists, collections and whole
// objects by their published properties.  A back-end supplies the fifteen
// Native* operations (TUxMemAppStorage in UxMemAppStorage.h keeps values in
// memory).
//
// The one rule: paths are relative to Path() unless they begin with "\";
// writes and deletions on a read-only target do nothing, silently.
//
//   dbgrids::TUxMemAppStorage st(nullptr);
//   st.WriteInteger("\\Grid\\Width", 120);
//   st.SetPath("Grid");
//   int w = st.ReadInteger("Width", 0);          // 120
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "dbgrids/UxExControls.h"
#include "platform/rtl/Collections.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/TypInfo.h"

namespace dbgrids {

class EUXLAppStorageError : public EUXLException {
public:
    using EUXLException::EUXLException;
};

class TUxCustomAppStorage;
class TUxTranslateString;

enum class TUxAppStorageEnumOption { aeoFolders, aeoValues, aeoReportListAsValue, aeoReportRelative, aeoRecursive };
using TUxAppStorageEnumOptions = rtl::Set<TUxAppStorageEnumOption, 8>;
// GetStoredValues marks each entry's object with these bits.
constexpr int kStoredFolder = 1;
constexpr int kStoredValue = 2;
int StoredValueFlags(const rtl::TStringList& list, int index);

// ------------------------------------------------------------------ options

class TUxCustomAppStorageOptions : public rtl::TPersistent {
public:
    TUxCustomAppStorageOptions();
    void Assign(const rtl::TPersistent* source) override;

    bool BooleanAsString() const { return FBooleanAsString; }
    virtual void SetBooleanAsString(bool value);
    const std::string& BooleanStringTrueValues() const { return FBooleanStringTrueValues; }
    virtual void SetBooleanStringTrueValues(const std::string& value);
    const std::string& BooleanStringFalseValues() const { return FBooleanStringFalseValues; }
    virtual void SetBooleanStringFalseValues(const std::string& value);
    bool EnumerationAsString() const { return FEnumAsStr; }
    virtual void SetEnumerationAsString(bool value) { FEnumAsStr = value; }
    bool TypedIntegerAsString() const { return FIntAsStr; }
    virtual void SetTypedIntegerAsString(bool value) { FIntAsStr = value; }
    bool SetAsString() const { return FSetAsStr; }
    virtual void SetSetAsString(bool value) { FSetAsStr = value; }
    bool DateTimeAsString() const { return FDateTimeAsString; }
    virtual void SetDateTimeAsString(bool value) { FDateTimeAsString = value; }
    bool FloatAsString() const { return FFloatAsString; }
    virtual void SetFloatAsString(bool value) { FFloatAsString = value; }
    bool DefaultIfReadConvertError() const { return FDefaultIfReadConvertError; }
    virtual void SetDefaultIfReadConvertError(bool value) { FDefaultIfReadConvertError = value; }
    bool DefaultIfValueNotExists() const { return FDefaultIfValueNotExists; }
    virtual void SetDefaultIfValueNotExists(bool value) { FDefaultIfValueNotExists = value; }
    bool StoreStringListAsSingleString() const { return FStoreStringListAsSingleString; }
    virtual void SetStoreStringListAsSingleString(bool value) { FStoreStringListAsSingleString = value; }
    bool UseOldItemNameFormat() const { return FUseOldItemNameFormat; }
    virtual void SetUseOldItemNameFormat(bool value) { FUseOldItemNameFormat = value; }
    bool StoreDefaultValues() const { return FStoreDefaultValues; }
    virtual void SetStoreDefaultValues(bool value) { FStoreDefaultValues = value; }
    bool UseTranslateStringEngineDateTimeFormats() const { return FUseTranslateStringEngineDateTimeFormats; }
    void SetUseTranslateStringEngineDateTimeFormats(bool value) { FUseTranslateStringEngineDateTimeFormats = value; }

    std::string DefaultTrueString() const;
    std::string DefaultFalseString() const;
    // Value among the comma-separated items of list, letter case ignored.
    virtual bool ValueInTextList(const std::string& value, const std::string& list) const;
    bool IsValueTrueString(const std::string& value) const { return ValueInTextList(value, FBooleanStringTrueValues); }
    bool IsValueFalseString(const std::string& value) const { return ValueInTextList(value, FBooleanStringFalseValues); }

private:
    bool FBooleanAsString = true;
    std::string FBooleanStringTrueValues = "TRUE, YES, Y";
    std::string FBooleanStringFalseValues = "FALSE, NO, N";
    bool FEnumAsStr = true;
    bool FIntAsStr = true;
    bool FSetAsStr = false;
    bool FDateTimeAsString = true;
    bool FFloatAsString = false;
    bool FDefaultIfReadConvertError = false;
    bool FDefaultIfValueNotExists = true;
    bool FStoreDefaultValues = true;
    bool FStoreStringListAsSingleString = false;
    bool FUseOldItemNameFormat = true;
    bool FUseTranslateStringEngineDateTimeFormats = false;
};

class TUxAppStorageOptions : public TUxCustomAppStorageOptions {};

// ------------------------------------------------------------ sub-storages

class TUxAppSubStorage : public rtl::TCollectionItem {
    RTL_CLASS(TUxAppSubStorage, rtl::TCollectionItem)
public:
    explicit TUxAppSubStorage(rtl::TCollection* collection) : rtl::TCollectionItem(collection) {}
    const std::string& RootPath() const { return FRootPath; }
    // Normalised; "'<root>' is not a unique root path" when an equal or
    // ancestor root exists (the old root stays).
    void SetRootPath(const std::string& value);
    TUxCustomAppStorage* AppStorage() const { return FAppStorage; }
    // "Circular reference of storages" when the storage would reach its
    // owner (the old storage stays).
    void SetAppStorage(TUxCustomAppStorage* value);
    std::string DisplayName() const override;
    TUxCustomAppStorage* OwnerStore() const;

private:
    std::string FRootPath;
    TUxCustomAppStorage* FAppStorage = nullptr;
};

class TUxAppSubStorages : public rtl::TOwnedCollection {
    RTL_CLASS(TUxAppSubStorages, rtl::TOwnedCollection)
public:
    explicit TUxAppSubStorages(TUxCustomAppStorage* owner);
    TUxAppSubStorage* Items(int index) const { return static_cast<TUxAppSubStorage*>(TCollection::Items(index)); }
    TUxAppSubStorage* Add(const std::string& rootPath, TUxCustomAppStorage* appStorage);
    void Delete(int index) { TCollection::Delete(index); }
    void Delete(const std::string& rootPath, bool includeSubPaths);
    void Delete(TUxCustomAppStorage* appStorage);
    // The item whose root is the longest prefix of path followed by "\"
    // (letter case ignored); nullptr when none.
    TUxAppSubStorage* FindSubStorage(const std::string& path, int ignoreIndex = -1) const;
    bool IsUniqueRoot(const std::string& path, int ignoreIndex = -1) const;
};

// -------------------------------------------------------- property engines

class TUxAppStoragePropertyBaseEngine {
public:
    virtual ~TUxAppStoragePropertyBaseEngine() = default;
    virtual bool Supports(rtl::TObject* object, rtl::TObject* property) { (void)object; (void)property; return false; }
    virtual void ReadProperty(TUxCustomAppStorage*, const std::string&, rtl::TObject*, rtl::TObject*, bool, bool) {}
    virtual void WriteProperty(TUxCustomAppStorage*, const std::string&, rtl::TObject*, rtl::TObject*, bool) {}
};

class TUxAppStoragePropertyEngineList {
public:
    ~TUxAppStoragePropertyEngineList();
    void RegisterEngine(std::type_index type, std::function<TUxAppStoragePropertyBaseEngine*()> make);
    void UnregisterEngine(std::type_index type);
    int Count() const { return static_cast<int>(FEngines.size()); }
    TUxAppStoragePropertyBaseEngine* GetEngine(rtl::TObject* object, rtl::TObject* property) const;
    bool ReadProperty(TUxCustomAppStorage* storage, const std::string& path, rtl::TObject* object,
                      rtl::TObject* property, bool recursive, bool clearFirst);
    bool WriteProperty(TUxCustomAppStorage* storage, const std::string& path, rtl::TObject* object,
                       rtl::TObject* property, bool recursive);

private:
    std::vector<TUxAppStoragePropertyBaseEngine*> FEngines;
};

// The global engine list; nullptr after FinalizePropertyEngines.
TUxAppStoragePropertyEngineList* RegisteredPropertyEngines();
void FinalizePropertyEngines();
template <class E>
void RegisterPropertyEngine()
{
    if (auto* l = RegisteredPropertyEngines()) l->RegisterEngine(typeid(E), [] { return new E(); });
}
template <class E>
void UnregisterPropertyEngine()
{
    if (auto* l = RegisteredPropertyEngines()) l->UnregisterEngine(typeid(E));
}

// ---------------------------------------------------------------- storage

using TUxAppStoragePropTranslateEvent =
    std::function<void(TUxCustomAppStorage* sender, rtl::TPersistent* instance, std::string& name, bool reading)>;
using TUxAppStorageCryptEvent = std::function<void(std::string& value)>;
using TUxAppStorageErrorEvent = std::function<void(rtl::TObject* sender, const std::string& value)>;
using TUxAppStorageListItemEvent = std::function<void(TUxCustomAppStorage* sender, const std::string& path,
                                                      rtl::TObject* list, int index, const std::string& itemName)>;
using TUxAppStorageListDeleteEvent =
    std::function<void(TUxCustomAppStorage* sender, const std::string& path, rtl::TObject* list, int first, int last,
                       const std::string& itemName)>;
using TUxAppStorageObjectListItemCreateEvent =
    std::function<rtl::TPersistent*(TUxCustomAppStorage* sender, const std::string& path, int index)>;

// A list of wide texts (stored with Item0, Item1 ... whatever the options).
class TUxWideStrings : public rtl::TPersistent {
public:
    std::vector<std::u16string> Items;
};

// An object list: the objects are not owned.
class TUxObjectList : public rtl::TObject {
public:
    std::vector<rtl::TObject*> Items;
};

class TUxCustomAppStorage : public rtl::TComponent {
public:
    explicit TUxCustomAppStorage(rtl::TComponent* owner);
    ~TUxCustomAppStorage() override;

    // --- paths (Part: paths and structure)
    static std::string ConcatPaths(const std::vector<std::string>& paths);
    const std::string& Path() const { return FCurPath; }
    void SetPath(const std::string& value) { FCurPath = ConcatPaths({value}); }
    void ResolvePath(const std::string& inPath, TUxCustomAppStorage*& targetStore, std::string& targetPath);
    std::string AbsolutePath(const std::string& path) const;
    virtual void SplitAbsolutePath(const std::string& path, std::string& key, std::string& valueName) const;
    bool IsFolder(const std::string& path, bool listIsValue = true);
    bool PathExists(const std::string& path);
    bool ValueStored(const std::string& path);
    bool ListStored(const std::string& path, const std::string& itemName = "Item");
    void DeleteValue(const std::string& path);
    void DeleteSubTree(const std::string& path);
    void GetStoredValues(const std::string& path, rtl::TStringList& strings, TUxAppStorageEnumOptions options);
    void CheckDeletePathByVersion(const std::string& path, int versionNumber, bool deleteIfNotEqual,
                                  bool writeVersionNumber, const std::string& versionName = "Version");

    // --- updates
    void BeginUpdate();
    void EndUpdate();
    bool IsUpdating() const { return FUpdateCount != 0; }
    virtual void Flush() {}
    virtual void Reload() {}
    virtual bool ReloadNeeded() const { return FAutoReload && !IsUpdating(); }
    virtual bool FlushNeeded() const { return FAutoFlush && !IsUpdating(); }
    void FlushIfNeeded() { if (FlushNeeded()) Flush(); }
    void ReloadIfNeeded() { if (ReloadNeeded()) Reload(); }
    bool AutoFlush() const { return FAutoFlush; }
    void SetAutoFlush(bool v) { FAutoFlush = v; }
    bool AutoReload() const { return FAutoReload; }
    void SetAutoReload(bool v) { FAutoReload = v; }
    bool FlushOnDestroy() const { return FFlushOnDestroy; }
    virtual void SetFlushOnDestroy(bool v) { FFlushOnDestroy = v; }
    // FReadOnly or, at run time, the back-end's own answer.
    bool ReadOnly() const;
    void SetReadOnly(bool v) { FReadOnly = v; }
    void Loaded() override;

    TUxCustomAppStorageOptions* StorageOptions() const { return FStorageOptions.get(); }
    void SetStorageOptions(const TUxCustomAppStorageOptions* value);
    TUxAppSubStorages* SubStorages() const { return FSubStorages.get(); }
    // Whether a sub-storage (recursively) names store.
    bool RefersToStorage(TUxCustomAppStorage* store) const;
    TUxTranslateString* TranslateStringEngine() const { return FTranslateStringEngine; }
    void SetTranslateStringEngine(TUxTranslateString* value);
    TUxTranslateString* ActiveTranslateStringEngine() const;

    TUxAppStoragePropTranslateEvent OnTranslatePropertyName;
    TUxAppStorageCryptEvent OnEncryptPropertyValue;
    TUxAppStorageCryptEvent OnDecryptPropertyValue;
    TUxAppStorageErrorEvent OnError;

    // --- typed values
    int32_t ReadInteger(const std::string& path, int32_t def = 0);
    void WriteInteger(const std::string& path, int32_t value);
    long double ReadFloat(const std::string& path, long double def = 0);
    void WriteFloat(const std::string& path, long double value);
    std::string ReadString(const std::string& path, const std::string& def = "");
    void WriteString(const std::string& path, const std::string& value);
    std::u16string ReadWideString(const std::string& path, const std::u16string& def = u"");
    void WriteWideString(const std::string& path, const std::u16string& value);
    int ReadBinary(const std::string& path, void* buf, int bufSize);
    void WriteBinary(const std::string& path, const void* buf, int bufSize);
    rtl::TDateTime ReadDateTime(const std::string& path, rtl::TDateTime def = 0);
    void WriteDateTime(const std::string& path, rtl::TDateTime value);
    bool ReadBoolean(const std::string& path, bool def = false);
    void WriteBoolean(const std::string& path, bool value);
    // Ordinals of an enumeration, integer, character or Boolean type.
    int64_t ReadEnumeration(const std::string& path, const rtl::TTypeInfo* type, int64_t def);
    void WriteEnumeration(const std::string& path, const rtl::TTypeInfo* type, int64_t value);
    // Sets of a registry set type, as their bit mask.
    uint64_t ReadSet(const std::string& path, const rtl::TTypeInfo* type, uint64_t def);
    void WriteSet(const std::string& path, const rtl::TTypeInfo* type, uint64_t value);

    void EnablePropertyValueCrypt() { ++FCryptEnabledStatus; }
    void DisablePropertyValueCrypt() { --FCryptEnabledStatus; }
    bool IsPropertyValueCryptEnabled() const { return FCryptEnabledStatus > 0; }
    virtual std::string GetCharName(char ch) const;
    virtual std::string GetIntName(int32_t value) const;
    virtual rtl::TDateTime TextToDateTime(const std::string& text);
    virtual std::string DateTimeToText(rtl::TDateTime value);

    // --- lists
    int ReadList(const std::string& path, rtl::TObject* list, const TUxAppStorageListItemEvent& onReadItem,
                 const std::string& itemName = "Item");
    void WriteList(const std::string& path, rtl::TObject* list, int itemCount, const TUxAppStorageListItemEvent& onWriteItem,
                   const TUxAppStorageListDeleteEvent& onDeleteItems, const std::string& itemName = "Item");
    virtual int ReadItemCount(const std::string& path, const std::string& itemName);
    virtual void WriteItemCount(const std::string& path, int count, const std::string& itemName);
    virtual std::string ItemNameIndexPath(const std::string& itemName, int index) const;
    int ReadStringList(const std::string& path, rtl::TStringList* sl, bool clearFirst = true, const std::string& itemName = "Item");
    void WriteStringList(const std::string& path, rtl::TStringList* sl, const std::string& itemName = "Item");
    int ReadWideStringList(const std::string& path, TUxWideStrings* sl, bool clearFirst = true, const std::string& itemName = "Item");
    void WriteWideStringList(const std::string& path, TUxWideStrings* sl, const std::string& itemName = "Item");
    int ReadObjectList(const std::string& path, TUxObjectList* list, const TUxAppStorageObjectListItemCreateEvent& itemCreator,
                       bool clearFirst = true, const std::string& itemName = "Item");
    void WriteObjectList(const std::string& path, TUxObjectList* list, const std::string& itemName = "Item");
    int ReadStringObjectList(const std::string& path, rtl::TStringList* sl, const TUxAppStorageObjectListItemCreateEvent& itemCreator,
                             bool clearFirst = true, const std::string& itemName = "Item");
    void WriteStringObjectList(const std::string& path, rtl::TStringList* sl, const std::string& itemName = "Item");
    int ReadCollection(const std::string& path, rtl::TCollection* list, bool clearFirst = true, const std::string& itemName = "Item");
    void WriteCollection(const std::string& path, rtl::TCollection* list, const std::string& itemName = "Item");

    // --- objects by their published properties
    void ReadPersistent(const std::string& path, rtl::TPersistent* obj, bool recursive = true, bool clearFirst = true,
                        const rtl::TStringList* ignoreProperties = nullptr);
    void WritePersistent(const std::string& path, rtl::TPersistent* obj, bool recursive = true,
                         const rtl::TStringList* ignoreProperties = nullptr);
    void ReadProperty(const std::string& path, rtl::TPersistent* obj, const std::string& propName, bool recursive, bool clearFirst);
    void WriteProperty(const std::string& path, rtl::TPersistent* obj, const std::string& propName, bool recursive);
    std::string TranslatePropertyName(rtl::TPersistent* instance, const std::string& name, bool reading);

    // --- the back-end contract
    virtual void NativeListFolders(const std::string& path, rtl::TStringList& strings, bool reportListAsValue) = 0;
    virtual void NativeListValues(const std::string& path, rtl::TStringList& strings, bool reportListAsValue) = 0;
    virtual bool NativeIsFolder(const std::string& path, bool listIsValue) = 0;
    virtual bool NativePathExists(const std::string& path) = 0;
    virtual bool NativeValueExists(const std::string& path) = 0;
    virtual bool NativeListExists(const std::string& path, const std::string& itemName);
    virtual void NativeDeleteValue(const std::string& path) = 0;
    virtual void NativeDeleteSubTree(const std::string& path) = 0;
    virtual int32_t NativeReadInteger(const std::string& path, int32_t def) = 0;
    virtual void NativeWriteInteger(const std::string& path, int32_t value) = 0;
    virtual long double NativeReadFloat(const std::string& path, long double def) = 0;
    virtual void NativeWriteFloat(const std::string& path, long double value) = 0;
    virtual std::string NativeReadString(const std::string& path, const std::string& def) = 0;
    virtual void NativeWriteString(const std::string& path, const std::string& value) = 0;
    virtual std::u16string NativeReadWideString(const std::string& path, const std::u16string& def);
    virtual void NativeWriteWideString(const std::string& path, const std::u16string& value);
    virtual int NativeReadBinary(const std::string& path, void* buf, int bufSize) = 0;
    virtual void NativeWriteBinary(const std::string& path, const void* buf, int bufSize) = 0;
    virtual rtl::TDateTime NativeReadDateTime(const std::string& path, rtl::TDateTime def);
    virtual void NativeWriteDateTime(const std::string& path, rtl::TDateTime value);
    virtual bool NativeReadBoolean(const std::string& path, bool def);
    virtual void NativeWriteBoolean(const std::string& path, bool value);
    virtual bool NativeReadOnly() const { return false; }

protected:
    // The typed operations on a resolved path.
    virtual int32_t ReadIntegerResolved(const std::string& path, int32_t def);
    virtual void WriteIntegerResolved(const std::string& path, int32_t value);
    virtual long double ReadFloatResolved(const std::string& path, long double def);
    virtual void WriteFloatResolved(const std::string& path, long double value);
    virtual std::string ReadStringResolved(const std::string& path, const std::string& def);
    virtual void WriteStringResolved(const std::string& path, const std::string& value);
    virtual int ReadBinaryResolved(const std::string& path, void* buf, int bufSize);
    virtual void WriteBinaryResolved(const std::string& path, const void* buf, int bufSize);
    virtual rtl::TDateTime ReadDateTimeResolved(const std::string& path, rtl::TDateTime def);
    virtual void WriteDateTimeResolved(const std::string& path, rtl::TDateTime value);
    virtual bool ReadBooleanResolved(const std::string& path, bool def);
    virtual void WriteBooleanResolved(const std::string& path, bool value);
    virtual int64_t ReadEnumerationResolved(const std::string& path, const rtl::TTypeInfo* type, int64_t def);
    virtual void WriteEnumerationResolved(const std::string& path, const rtl::TTypeInfo* type, int64_t value);
    virtual uint64_t ReadSetResolved(const std::string& path, const rtl::TTypeInfo* type, uint64_t def);
    virtual void WriteSetResolved(const std::string& path, const rtl::TTypeInfo* type, uint64_t value);

    void Notification(rtl::TComponent* component, rtl::TOperation operation) override;

    std::string FRoot;
    rtl::TFormatSettings CachedFormatSettings;

private:
    std::string EncryptValue(const std::string& value);
    std::string DecryptValue(const std::string& value);
    template <typename T, typename F>
    T UnderConversionRule(T def, F&& read);
    const rtl::TFormatSettings& StorageFormatSettings();
    void Gather(const std::string& prefix, const std::string& searchPath, rtl::TStringList& strings,
                TUxAppStorageEnumOptions options);
    rtl::TPersistent* CreateListItem(const std::string& itemPath, int index);

    std::string FCurPath;
    std::unique_ptr<TUxCustomAppStorageOptions> FStorageOptions;
    std::unique_ptr<TUxAppSubStorages> FSubStorages;
    int FCryptEnabledStatus = 0;
    bool FAutoFlush = false;
    int FUpdateCount = 0;
    bool FAutoReload = false;
    TUxAppStorageObjectListItemCreateEvent FCurrentInstanceCreateEvent;
    TUxTranslateString* FInternalTranslateStringEngine = nullptr;  // owned through the component tree
    bool FReadOnly = false;
    TUxTranslateString* FTranslateStringEngine = nullptr;
    bool FFlushOnDestroy = true;
};

} // namespace dbgrids
