// The property engine that lets an application storage write and read a
// data-aware grid's Columns collection as a whole ("Item" entries).
//
// The one rule: it is registered once, by RegisterDBGridColumnsEngine (the
// grid's constructor calls it), and stays registered for the process.
//
//   dbgrids::RegisterDBGridColumnsEngine();
//   storage.WritePersistent("Grid", grid);   // Columns through the engine
#pragma once

#include <string>

#include "dbgrids/UxAppStorage.h"

namespace dbgrids {

class TUxAppStoragePropertyDBGridColumnsEngine : public TUxAppStoragePropertyBaseEngine {
public:
    bool Supports(rtl::TObject* object, rtl::TObject* property) override;
    void ReadProperty(TUxCustomAppStorage* storage, const std::string& path, rtl::TObject* object,
                      rtl::TObject* property, bool recursive, bool clearFirst) override;
    void WriteProperty(TUxCustomAppStorage* storage, const std::string& path, rtl::TObject* object,
                       rtl::TObject* property, bool recursive) override;
};

void RegisterDBGridColumnsEngine();

} // namespace dbgrids
