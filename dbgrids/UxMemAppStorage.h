// An application storage kept in memory: a tree of folders holding typed
// values (integer, float, text, bytes), names compared without regard to
// letter case.  A value is converted on reading as a text medium would: a
// text read as an integer must be a number (else EConvertError), a number
// read as text gives its decimal text.  Used by the tests of the storage,
// the grids and the form placement; the program assigns no storage.
//
// The one rule: a list folder (one holding "Count") counts as a value where
// the caller says lists are values (ListIsValue, ReportListAsValue).
//
//   dbgrids::TUxMemAppStorage st(nullptr);
//   st.WriteString("\\Form\\Caption", "Main");
//   st.ReadString("\\form\\caption", "");   // "Main"
#pragma once

#include <map>
#include <memory>
#include <string>

#include "dbgrids/UxAppStorage.h"

namespace dbgrids {

class TUxMemAppStorage : public TUxCustomAppStorage {
public:
    explicit TUxMemAppStorage(rtl::TComponent* owner);
    ~TUxMemAppStorage() override;

    // What the back-end was asked (for tests): value reads and flushes.
    int NativeReadCount = 0;
    int FlushCount = 0;
    int ReloadCount = 0;
    // The medium's own read-only flag.
    bool MediumReadOnly = false;
    // Raw access for tests: the value's text as stored, and its kind
    // ('i', 'f', 's', 'b'; 0 when absent).
    std::string RawText(const std::string& absolutePath) const;
    char RawKind(const std::string& absolutePath) const;

    void Flush() override { ++FlushCount; }
    void Reload() override { ++ReloadCount; }

    void NativeListFolders(const std::string& path, rtl::TStringList& strings, bool reportListAsValue) override;
    void NativeListValues(const std::string& path, rtl::TStringList& strings, bool reportListAsValue) override;
    bool NativeIsFolder(const std::string& path, bool listIsValue) override;
    bool NativePathExists(const std::string& path) override;
    bool NativeValueExists(const std::string& path) override;
    void NativeDeleteValue(const std::string& path) override;
    void NativeDeleteSubTree(const std::string& path) override;
    int32_t NativeReadInteger(const std::string& path, int32_t def) override;
    void NativeWriteInteger(const std::string& path, int32_t value) override;
    long double NativeReadFloat(const std::string& path, long double def) override;
    void NativeWriteFloat(const std::string& path, long double value) override;
    std::string NativeReadString(const std::string& path, const std::string& def) override;
    void NativeWriteString(const std::string& path, const std::string& value) override;
    int NativeReadBinary(const std::string& path, void* buf, int bufSize) override;
    void NativeWriteBinary(const std::string& path, const void* buf, int bufSize) override;
    bool NativeReadOnly() const override { return MediumReadOnly; }

    struct TValue {
        char Kind = 's';
        int64_t Int = 0;
        long double Float = 0;
        std::string Text;
    };
    struct TFolder {
        std::string Name;
        std::map<std::string, std::unique_ptr<TFolder>> Folders;  // by upper-case name
        std::map<std::string, std::pair<std::string, TValue>> Values;
    };

private:
    TFolder* FindFolder(const std::string& key, bool create);
    const TValue* FindValue(const std::string& path);
    void Store(const std::string& path, const TValue& v);
    TFolder FRootFolder;
};

} // namespace dbgrids
