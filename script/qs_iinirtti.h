// Binding module of the settings files: TCustomIniFile with the typed
// reads and writes, TMemIniFile and TIniFile with sections, keys and whole
// file content, to and from script streams.
//
// The rule a caller must know: TIniFile writes through to its file, while
// TMemIniFile keeps its content in memory (nothing reaches the file unless
// the host calls UpdateFile).
//
//     var Ini: TMemIniFile;
//     Ini := TMemIniFile.Create('/tmp/a.ini');
//     Ini.WriteInteger('Main', 'Count', 3);
#pragma once

#include "script/qs_iinterpreter.h"

namespace qs {

const rtl::TClassInfo& CustomIniFileClass();
const rtl::TClassInfo& MemIniFileClass();
const rtl::TClassInfo& IniFileClass();

class TqsIniFunctions : public TqsRTTIModule {
public:
    explicit TqsIniFunctions(TqsScript* AScript);

private:
    Variant CallMethod(rtl::TObject* Instance, const rtl::TClassInfo* ClassType, const std::string& MethodName,
                       TqsMethodHelper* Caller);
};

} // namespace qs
