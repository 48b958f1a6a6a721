// OfficeAdo: the "ADODB.Connection" and "ADODB.RecordSet" stand-ins: a
// query on the SQLite file named by DBQ= of the connection string.
#include "gridio/OfficeDispatch.h"
#include "gridio/OfficeServers.h"
#include "platform/db/SQLiteDataSet.h"
#include "platform/rtl/OleClasses.h"

namespace gridio {

namespace {

class TAdoConnection : public TMemberDispatch {
public:
    TAdoConnection()
    {
        Member("OPEN", [this](const TArgs& a) {
            const std::string s = Arg(a, 0).AsString();
            const std::string upper = rtl::AnsiUpperCase(s);
            const size_t at = upper.find("DBQ=");
            if (at == std::string::npos) throw rtl::Exception("Data source name not found in the connection string");
            const size_t end = s.find(';', at);
            File = s.substr(at + 4, end == std::string::npos ? std::string::npos : end - at - 4);
            return Variant();
        });
        Member("CLOSE", [this](const TArgs&) {
            File.clear();
            return Variant();
        });
    }
    std::string File;
};

class TAdoField : public TMemberDispatch {
public:
    TAdoField(std::shared_ptr<db::TSQLiteQuery> q, int i)
    {
        auto field = [q, i] {
            if (i < 0 || i >= q->FieldCount()) throw rtl::Exception("Item cannot be found in the collection");
            return q->Fields(i);
        };
        Member("NAME", [field](const TArgs&) { return Variant(field()->FieldName()); });
        Member("ACTUALSIZE", [field](const TArgs&) {
            db::TField* f = field();
            return Variant(static_cast<int32_t>(f->IsNull() ? 0 : f->AsString().size()));
        });
        Member("VALUE", [field](const TArgs&) {
            db::TField* f = field();
            if (f->IsNull()) return Variant::Null();
            if (f->IsNumeric()) return Variant(static_cast<double>(f->AsFloat()));
            return Variant(f->AsString());
        });
    }
};

class TAdoFields : public TMemberDispatch {
public:
    explicit TAdoFields(std::shared_ptr<db::TSQLiteQuery> q)
    {
        Member("COUNT", [q](const TArgs&) { return Variant(static_cast<int32_t>(q->FieldCount())); });
        Member("ITEM", [q](const TArgs& a) { return MakeDispatch<TAdoField>(q, Arg(a, 0).AsInteger()); });
    }
};

class TAdoRecordSet : public TMemberDispatch {
public:
    TAdoRecordSet()
    {
        Setter("ACTIVECONNECTION", [this](const TArgs&, const Variant& v) {
            FConnection = std::dynamic_pointer_cast<TAdoConnection>(v.AsDispatch());
            if (!FConnection) throw rtl::Exception("The connection cannot be used to perform this operation");
        });
        Member("OPEN", [this](const TArgs& a) {
            if (!FConnection || FConnection->File.empty())
                throw rtl::Exception("The connection cannot be used to perform this operation");
            FQuery = std::make_shared<db::TSQLiteQuery>();
            FQuery->SetDatabaseFile(FConnection->File);
            FQuery->SQL().Add(Arg(a, 0).AsString());
            FQuery->Open();
            return Variant();
        });
        Member("FIELDS", [this](const TArgs& a) {
            if (!a.empty()) return MakeDispatch<TAdoField>(Query(), a[0].AsInteger());
            return MakeDispatch<TAdoFields>(Query());
        });
        Member("RECORDCOUNT", [this](const TArgs&) { return Variant(static_cast<int32_t>(Query()->RecordCount())); });
        Member("EOF", [this](const TArgs&) { return Variant(Query()->Eof()); });
        Member("MOVENEXT", [this](const TArgs&) {
            Query()->Next();
            return Variant();
        });
        Member("CLOSE", [this](const TArgs&) {
            if (FQuery) FQuery->Close();
            FQuery.reset();
            return Variant();
        });
    }

private:
    std::shared_ptr<db::TSQLiteQuery> Query()
    {
        if (!FQuery) throw rtl::Exception("Operation is not allowed when the object is closed");
        return FQuery;
    }
    std::shared_ptr<TAdoConnection> FConnection;
    std::shared_ptr<db::TSQLiteQuery> FQuery;
};

} // namespace

void RegisterAdoServer()
{
    rtl::RegisterOleClass("ADODB.Connection", [] { return std::make_shared<TAdoConnection>(); });
    rtl::RegisterOleClass("ADODB.RecordSet", [] { return std::make_shared<TAdoRecordSet>(); });
}

} // namespace gridio
