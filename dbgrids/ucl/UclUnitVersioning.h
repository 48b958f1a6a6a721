// The unit version registry: every utility unit announces at start-up the
// source revision it was built from and withdraws it at shut-down.  One
// registry per process, found through a named shared block that holds its
// address and guarded by a named mutex.  Nothing in the program reads it.
//
// The one rule: after ShutDownUnitVersioning the registry is gone for good;
// AddUnitVersion and RemoveUnitVersions then do nothing.
//
//   static const ucl::TUnitVersionInfo kInfo{"$URL: svn://ucl.local/trunk/UCL/source/common/UclBase.pas $",
//       "$Revision: 3336 $", "$Date: 2010-09-10 18:23:10 +0200 (ven. 10 sept. 2010) $", "UCL\\source\\common"};
//   ucl::AddUnitVersion(ucl::HInstance, &kInfo);
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/DateTime.h"

namespace ucl {

struct TUnitVersionInfo {
    std::string RCSfile;
    std::string Revision;
    std::string Date;
    std::string LogPath;
    std::string Extra;
    void* Data = nullptr;
};

class TUnitVersion {
public:
    explicit TUnitVersion(const TUnitVersionInfo* info) : FInfo(info) {}
    std::string RCSfile() const;   // the bare source file name
    std::string Revision() const;
    std::string Date() const;
    std::string LogPath() const;
    std::string Extra() const;
    void* Data() const { return FInfo->Data; }
    // The date and time of Date(), its zone offset ignored; 0 when it has no
    // date.
    rtl::TDateTime DateTime() const;
    const TUnitVersionInfo* Info() const { return FInfo; }

private:
    const TUnitVersionInfo* FInfo;
};

class TUnitVersioningModule {
public:
    explicit TUnitVersioningModule(uintptr_t instance) : FInstance(instance) {}
    uintptr_t Instance() const { return FInstance; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TUnitVersion* UnitAt(int index) const { return FItems.at(static_cast<size_t>(index)).get(); }
    void AddInfo(const TUnitVersionInfo* info);
    int FindInfoIndex(const TUnitVersionInfo* info) const;
    // The first unit of that file name (case ignored) and, unless logPath is
    // "*", that log path (case ignored); -1 when none.
    int IndexOf(const std::string& rcsFile, const std::string& logPath = "*") const;
    TUnitVersion* FindUnit(const std::string& rcsFile, const std::string& logPath = "*") const;

private:
    uintptr_t FInstance;
    std::vector<std::unique_ptr<TUnitVersion>> FItems;
};

class TCustomUnitVersioningProvider {
public:
    virtual ~TCustomUnitVersioningProvider() = default;
    virtual void LoadModuleUnitVersioningInfo(uintptr_t) {}
    virtual void ReleaseModuleUnitVersioningInfo(uintptr_t) {}
};

class TUnitVersioning {
public:
    virtual ~TUnitVersioning();
    virtual void AddUnit(uintptr_t instance, const TUnitVersionInfo* info);
    virtual void DropModule(uintptr_t instance);
    // Both drop the modules whose file can no longer be named first.
    int ModuleCount();
    int Count();
    TUnitVersioningModule* ModuleAt(int index) const { return FModules.at(static_cast<size_t>(index)).get(); }
    void RemoveModule(TUnitVersioningModule* module);
    void DropUnloadedModules();
    int IndexOf(const std::string& rcsFile, const std::string& logPath = "*") const;
    TUnitVersion* FindUnit(const std::string& rcsFile, const std::string& logPath = "*") const;
    template <typename P>
    void RegisterProvider()
    {
        for (const auto& p : FProviders)
            if (typeid(*p) == typeid(P)) return;
        FProviders.push_back(std::make_unique<P>());
    }
    void LoadModuleUnitVersioningInfo(uintptr_t instance);

private:
    std::vector<std::unique_ptr<TUnitVersioningModule>> FModules;
    std::vector<std::unique_ptr<TCustomUnitVersioningProvider>> FProviders;
};

// The process's registry, created on first use; nullptr after shut-down.
TUnitVersioning* SharedUnitVersioning();
void AddUnitVersion(uintptr_t instance, const TUnitVersionInfo* info);
void RemoveUnitVersions(uintptr_t instance);
void ShutDownUnitVersioning();

// The 27 records the utility units register, in start-up order.
const std::vector<TUnitVersionInfo>& UtilityUnitVersions();

} // namespace ucl
