#include "dbgrids/ucl/UclUnitVersioning.h"

#include <cstring>

#include "dbgrids/ucl/UclFileUtils.h"
#include "dbgrids/ucl/UclSynch.h"
#include "dbgrids/ucl/UclSysUtils.h"
#include "platform/rtl/Strings.h"
#include "platform/sys/NamedObjects.h"

namespace ucl {

namespace {

bool StartsWith(const std::string& prefix, const std::string& s)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

// The leading decimal digits of a text as a number (0 for none).
int LeadingNumber(const std::string& s)
{
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        v = v * 10 + (c - '0');
    }
    return v;
}

TUnitVersioning* gInstance = nullptr;
bool gOwned = false;
void* gBlock = nullptr;
TUclMutex* gMutex = nullptr;  // raw: it must outlive other units' static destructors
bool gFinalized = false;

std::string Suffix()
{
    return std::to_string(sys::CurrentProcessId());
}

} // namespace

std::string TUnitVersion::RCSfile() const
{
    std::string s = rtl::Trim(FInfo->RCSfile);
    if (StartsWith("$RCSfile: ", s) && s.size() >= 12) {
        s = s.substr(10, s.size() - 12);
        auto comma = s.rfind(',');
        if (comma != std::string::npos) s.resize(comma);
    }
    if (StartsWith("$URL: ", s) && s.size() >= 8) {
        s = s.substr(6, s.size() - 8);
        auto slash = s.rfind('/');
        if (slash != std::string::npos) s.erase(0, slash + 1);
    }
    return s;
}

std::string TUnitVersion::Revision() const
{
    std::string s = rtl::Trim(FInfo->Revision);
    if (StartsWith("$Revision: ", s) && s.size() >= 13) return s.substr(11, s.size() - 13);
    return s;
}

std::string TUnitVersion::Date() const
{
    std::string s = rtl::Trim(FInfo->Date);
    if (StartsWith("$Date: ", s) && s.size() >= 9) return s.substr(7, s.size() - 9);
    return s;
}

std::string TUnitVersion::LogPath() const { return rtl::Trim(FInfo->LogPath); }
std::string TUnitVersion::Extra() const { return rtl::Trim(FInfo->Extra); }

rtl::TDateTime TUnitVersion::DateTime() const
{
    std::string s = Date();
    int year = 0, month = 0, day = 0;
    auto part = [&](int from, int count) { return rtl::StrToInt(rtl::Copy(s, from, count)); };
    int p = rtl::Pos("/", s);
    if (p == 0) p = rtl::Pos("-", s);
    if (p > 0) {
        if (p == 5) {
            year = part(1, 4);
            month = part(6, 2);
            day = part(9, 2);
        } else {
            month = part(1, 2);
            day = part(4, 2);
            year = part(7, 4);
        }
    } else if (rtl::Pos(".", s) > 0) {
        day = part(1, 2);
        month = part(4, 2);
        year = part(7, 4);
    } else {
        return 0;
    }
    std::string rest = rtl::Trim(rtl::Copy(s, rtl::Pos(" ", s) + 1));
    std::string sep = rtl::Pos(":", rest) > 0 ? ":" : "/";
    auto take = [&](bool last) {
        int q = rtl::Pos(sep, rest);
        std::string head = (q == 0 && last) ? rest : rtl::Copy(rest, 1, q - 1);
        rest = q == 0 ? std::string() : rtl::Copy(rest, q + 1);
        return LeadingNumber(head);
    };
    int hour = take(false);
    int minute = take(false);
    int second = take(true);
    return rtl::EncodeDate(year, month, day) + rtl::EncodeTime(hour, minute, second, 0);
}

void TUnitVersioningModule::AddInfo(const TUnitVersionInfo* info)
{
    FItems.push_back(std::make_unique<TUnitVersion>(info));
}

int TUnitVersioningModule::FindInfoIndex(const TUnitVersionInfo* info) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Info() == info) return static_cast<int>(i);
    return -1;
}

int TUnitVersioningModule::IndexOf(const std::string& rcsFile, const std::string& logPath) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (rtl::AnsiSameText(FItems[i]->RCSfile(), rcsFile) &&
            (logPath == "*" || rtl::AnsiSameText(FItems[i]->LogPath(), logPath)))
            return static_cast<int>(i);
    return -1;
}

TUnitVersion* TUnitVersioningModule::FindUnit(const std::string& rcsFile, const std::string& logPath) const
{
    int i = IndexOf(rcsFile, logPath);
    return i < 0 ? nullptr : UnitAt(i);
}

TUnitVersioning::~TUnitVersioning()
{
    FProviders.clear();
    FModules.clear();
}

void TUnitVersioning::AddUnit(uintptr_t instance, const TUnitVersionInfo* info)
{
    for (auto& m : FModules)
        if (m->Instance() == instance) {
            if (m->FindInfoIndex(info) < 0) m->AddInfo(info);
            return;
        }
    FModules.push_back(std::make_unique<TUnitVersioningModule>(instance));
    FModules.back()->AddInfo(info);
}

void TUnitVersioning::DropModule(uintptr_t instance)
{
    for (size_t i = FModules.size(); i-- > 0;)
        if (FModules[i]->Instance() == instance) {
            FModules.erase(FModules.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    for (auto& p : FProviders) p->ReleaseModuleUnitVersioningInfo(instance);
}

void TUnitVersioning::RemoveModule(TUnitVersioningModule* module)
{
    for (size_t i = 0; i < FModules.size(); ++i)
        if (FModules[i].get() == module) {
            FModules.erase(FModules.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
}

void TUnitVersioning::DropUnloadedModules()
{
    for (size_t i = FModules.size(); i-- > 0;)
        if (ModuleFileName(FModules[i]->Instance()).empty()) RemoveModule(FModules[i].get());
}

int TUnitVersioning::ModuleCount()
{
    DropUnloadedModules();
    return static_cast<int>(FModules.size());
}

int TUnitVersioning::Count()
{
    DropUnloadedModules();
    int n = 0;
    for (auto& m : FModules) n += m->Count();
    return n;
}

int TUnitVersioning::IndexOf(const std::string& rcsFile, const std::string& logPath) const
{
    int before = 0;
    for (auto& m : FModules) {
        int i = m->IndexOf(rcsFile, logPath);
        if (i >= 0) return before + i;
        before += m->Count();
    }
    return -1;
}

TUnitVersion* TUnitVersioning::FindUnit(const std::string& rcsFile, const std::string& logPath) const
{
    for (auto& m : FModules)
        if (TUnitVersion* u = m->FindUnit(rcsFile, logPath)) return u;
    return nullptr;
}

void TUnitVersioning::LoadModuleUnitVersioningInfo(uintptr_t instance)
{
    for (auto& p : FProviders) p->LoadModuleUnitVersioningInfo(instance);
}

TUnitVersioning* SharedUnitVersioning()
{
    if (gFinalized) return nullptr;
    if (!gMutex) gMutex = new TUclMutex(false, "MutexNPA_UnitVersioning_" + Suffix());
    if (!gInstance) {
        gMutex->WaitForever();
        try {
            if (!gBlock) AcquireSharedMemory(gBlock, "ShmNPA_UnitVersioning_" + Suffix(), sizeof(void*));
            if (gBlock) {
                std::memcpy(&gInstance, gBlock, sizeof(void*));
                if (!gInstance) {
                    gInstance = new TUnitVersioning();
                    std::memcpy(gBlock, &gInstance, sizeof(void*));
                    gOwned = true;
                }
            } else {
                gInstance = new TUnitVersioning();
                gOwned = true;
            }
        } catch (...) {
            gMutex->Release();
            throw;
        }
        gMutex->Release();
    } else if (gBlock) {
        gMutex->WaitForever();
        std::memcpy(&gInstance, gBlock, sizeof(void*));
        gMutex->Release();
    }
    return gInstance;
}

void AddUnitVersion(uintptr_t instance, const TUnitVersionInfo* info)
{
    if (TUnitVersioning* r = SharedUnitVersioning()) r->AddUnit(instance, info);
}

void RemoveUnitVersions(uintptr_t instance)
{
    if (TUnitVersioning* r = SharedUnitVersioning()) r->DropModule(instance);
}

void ShutDownUnitVersioning()
{
    gFinalized = true;
    try {
        if (gBlock && gMutex) {
            gMutex->WaitForever();
            try {
                std::memset(gBlock, 0, sizeof(void*));
                CloseSharedMemory(gBlock);
            } catch (...) {
            }
            gMutex->Release();
        }
        if (gOwned) delete gInstance;
    } catch (...) {
    }
    gInstance = nullptr;
    gOwned = false;
    delete gMutex;
    gMutex = nullptr;
}

const std::vector<TUnitVersionInfo>& UtilityUnitVersions()
{
    struct TRow {
        const char* Unit;
        int Revision;
        const char* Date;
        const char* Path;
    };
    static const TRow rows[] = {
        {"UclResources", 3266, "2010-07-25 13:44:27 +0200", "common"},
        {"UclWin32", 3276, "2010-08-02 21:27:59 +0200", "windows"},
        {"UclStringConversions", 2921, "2009-08-09 15:08:29 +0200", "common"},
        {"UclLogic", 2921, "2009-08-09 15:08:29 +0200", "common"},
        {"Ucl8087", 2921, "2009-08-09 15:08:29 +0200", "common"},
        {"UclMath", 3070, "2009-11-05 17:51:58 +0100", "common"},
        {"UclDateTime", 2921, "2009-08-09 15:08:29 +0200", "common"},
        {"UclRegistry", 3321, "2010-09-01 21:48:55 +0200", "windows"},
        {"UclSecurity", 3097, "2009-12-21 23:14:47 +0100", "windows"},
        {"UclShell", 3179, "2010-02-05 13:18:47 +0100", "windows"},
        {"UclFileUtils", 3321, "2010-09-01 21:48:55 +0200", "common"},
        {"UclConsole", 2993, "2009-09-12 12:57:33 +0200", "windows"},
        {"UclSysUtils", 3321, "2010-09-01 21:48:55 +0200", "common"},
        {"UclCharsets", 2892, "2009-07-30 12:08:05 +0200", "common"},
        {"UclStreams", 3160, "2010-02-02 21:05:46 +0100", "common"},
        {"UclAnsiStrings", 3321, "2010-09-01 21:48:55 +0200", "common"},
        {"UclIniFiles", 2892, "2009-07-30 12:08:05 +0200", "common"},
        {"Snmp", 3188, "2010-02-11 13:14:06 +0100", "windows"},
        {"UclSysInfo", 3213, "2010-03-22 19:46:17 +0100", "common"},
        {"UclUnicode", 3256, "2010-05-28 23:11:15 +0200", "common"},
        {"UclWideStrings", 3139, "2010-01-25 13:19:13 +0100", "common"},
        {"UclStrings", 3321, "2010-09-01 21:48:55 +0200", "common"},
        {"UclSynch", 2984, "2009-09-02 13:56:05 +0200", "common"},
        {"UclUnitVersioning", 3188, "2010-02-11 13:14:06 +0100", "common"},
        {"UclBase", 3336, "2010-09-10 18:23:10 +0200", "common"},
        {"UclMime", 2921, "2009-08-09 15:08:29 +0200", "common"},
        {"UclRTTI", 3193, "2010-02-18 22:40:40 +0100", "common"},
    };
    // The date texts go on with the weekday and date in French, as the
    // source-control keywords were expanded.
    static const char* const days[] = {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."};
    static const char* const months[] = {"janv.", "févr.", "mars", "avr.", "mai", "juin",
                                         "juil.", "août", "sept.", "oct.", "nov.", "déc."};
    static const std::vector<TUnitVersionInfo> records = [] {
        std::vector<TUnitVersionInfo> v;
        for (const TRow& r : rows) {
            std::string d = r.Date;
            int y = std::stoi(d.substr(0, 4)), m = std::stoi(d.substr(5, 2)), dd = std::stoi(d.substr(8, 2));
            int wd = rtl::DayOfWeek(rtl::EncodeDate(y, m, dd));  // 1 = Sunday
            std::string folder = r.Path;
            TUnitVersionInfo info;
            info.RCSfile = "$URL: svn://ucl.local/trunk/UCL/source/" + folder + "/" + r.Unit + ".pas $";
            info.Revision = "$Revision: " + std::to_string(r.Revision) + " $";
            info.Date = "$Date: " + d + " (" + days[(wd - 1) % 7] + " " + std::to_string(dd) + " " + months[m - 1] +
                        " " + std::to_string(y) + ") $";
            info.LogPath = "UCL\\source\\" + folder;
            v.push_back(info);
        }
        return v;
    }();
    return records;
}

} // namespace ucl
