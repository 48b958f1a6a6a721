// The report's data sets and the global data-set list.  Part of qlrClass.h.
#pragma once

#include "report/qlrClassViews.h"

namespace qlr {

// ------------------------------------------------------------ data sets

class TqlrDataSet : public TqlrDialogComponent {
    RTL_CLASS(TqlrDataSet, TqlrDialogComponent)
public:
    explicit TqlrDataSet(rtl::TComponent* owner);
    ~TqlrDataSet() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v) { FEnabled = v; }
    TqlrRangeBegin RangeBegin() const { return FRangeBegin; }
    void SetRangeBegin(TqlrRangeBegin v) { FRangeBegin = v; }
    TqlrRangeEnd RangeEnd() const { return FRangeEnd; }
    void SetRangeEnd(TqlrRangeEnd v) { FRangeEnd = v; }
    int RangeEndCount() const { return FRangeEndCount; }
    void SetRangeEndCount(int v) { FRangeEndCount = v; }
    const std::string& UserName() const { return FUserName; }
    // Raises "prInvProp"'s text for a blank name.
    virtual void SetUserName(const std::string& v);
    bool CloseDataSource() const { return FCloseDataSource; }
    void SetCloseDataSource(bool v) { FCloseDataSource = v; }
    bool OpenDataSource() const { return FOpenDataSource; }
    void SetOpenDataSource(bool v) { FOpenDataSource = v; }
    int RecNo() const { return FRecNo; }
    TqlrReport* ReportRef() const { return FReportRef; }
    void SetReportRef(TqlrReport* r) { FReportRef = r; }
    void SetName(const std::string& newName) override;

    virtual std::string DisplayText(const std::string&) { return ""; }
    virtual int DisplayWidth(const std::string&) { return 10; }
    virtual TqlrFieldType FieldType(const std::string&) { return TqlrFieldType::fftNumeric; }
    virtual rtl::Variant Value(const std::string&) { return rtl::Variant::Null(); }
    virtual void Initialize() {}
    virtual void Finalize() {}
    virtual void Open();
    virtual void Close();
    virtual void First();
    virtual void Next();
    virtual void Prior();
    virtual bool Eof();
    virtual int FieldsCount() { return 0; }
    virtual bool IsBlobField(const std::string&) { return false; }
    virtual int RecordCount();
    virtual void AssignBlobTo(const std::string&, rtl::TObject*) {}
    // The same into a stream (the picture view's way of reading a BLOB).
    virtual void AssignBlobToStream(const std::string&, rtl::TStream&) {}
    virtual void GetFieldList(rtl::TStringList& list) { list.Clear(); }
    bool HasField(const std::string& fName);

    // Host-program events (the script's names are the published texts).
    std::function<void(TqlrDataSet*, bool&)> OnCheckEOF;
    std::function<void(TqlrDataSet*)> OnFirst, OnNext, OnPrior, OnOpen, OnClose;
    std::string OnCheckEOFName, OnFirstName, OnNextName, OnPriorName;

private:
    bool FCloseDataSource = false;
    bool FEnabled = true;
    bool FEof = false;
    bool FOpenDataSource = true;
    TqlrRangeBegin FRangeBegin = TqlrRangeBegin::rbFirst;
    TqlrRangeEnd FRangeEnd = TqlrRangeEnd::reLast;
    int FRangeEndCount = 0;
    TqlrReport* FReportRef = nullptr;
    std::string FUserName;
    bool FInitialized = false;
    int FRecNo = 0;
};

class TqlrUserDataSet : public TqlrDataSet {
    RTL_CLASS(TqlrUserDataSet, TqlrDataSet)
public:
    explicit TqlrUserDataSet(rtl::TComponent* owner);
    rtl::TStringList* Fields() const { return FFields.get(); }
    void SetFields(rtl::TStringList* v) { FFields->Assign(v); }
    std::string DisplayText(const std::string& field) override;
    rtl::Variant Value(const std::string& field) override;
    int FieldsCount() override { return FFields->Count(); }
    void GetFieldList(rtl::TStringList& list) override;

    std::function<void(const std::string&, rtl::Variant&)> OnGetValue;
    std::function<void(TqlrUserDataSet*, const std::string&, rtl::Variant&)> OnNewGetValue;

private:
    std::unique_ptr<rtl::TStringList> FFields;
};

class TqlrCustomDBDataSet : public TqlrDataSet {
    RTL_CLASS(TqlrCustomDBDataSet, TqlrDataSet)
public:
    explicit TqlrCustomDBDataSet(rtl::TComponent* owner);
    rtl::TStringList* FieldAliases() const { return FAliases.get(); }
    void SetFieldAliases(rtl::TStringList* v) { FAliases->Assign(v); }
    // The alias of a field (the field itself when it has none), and back.
    std::string GetAlias(const std::string& fName) const;
    std::string ConvertAlias(const std::string& fName) const;
    int FieldsCount() override;

protected:
    std::unique_ptr<rtl::TStringList> FAliases, FFields;
};

// The interface of a database connection; no connection class exists here.
class TqlrCustomDatabase : public TqlrDialogComponent {
    RTL_CLASS(TqlrCustomDatabase, TqlrDialogComponent)
public:
    using TqlrDialogComponent::TqlrDialogComponent;
    virtual void SetConnected(bool) {}
    virtual void SetDatabaseName(const std::string&) {}
    virtual void SetLoginPrompt(bool) {}
    virtual void SetParams(rtl::TStringList*) {}
    virtual bool Connected() const { return false; }
    virtual std::string DatabaseName() const { return ""; }
    virtual bool LoginPrompt() const { return false; }
    virtual rtl::TStringList* Params() const { return nullptr; }
    virtual std::string ToString() const { return ""; }
    virtual void FromString(const std::string&) {}
    virtual void SetLogin(const std::string&, const std::string&) {}
};

// Every data set alive, in creation order.
const std::vector<TqlrDataSet*>& GlobalDataSets();
// A data set by user name (case ignored) from the global list, passing over
// sets owned by another report; the fallback when none matches.
TqlrDataSet* FindGlobalDataSet(TqlrDataSet* dataSet, const std::string& name, rtl::TComponent* owner);
// User names and objects of the enabled, named data sets.
void ListGlobalDataSets(rtl::TStringList& list);

} // namespace qlr
