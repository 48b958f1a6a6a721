// The file list box.
#include "platform/gui/FileCtrl.h"

#include <algorithm>
#include <filesystem>
#include <fnmatch.h>

#include "platform/rtl/Strings.h"

namespace gui {

namespace fs = std::filesystem;

TFileListBox::TFileListBox(rtl::TComponent* owner) : TCustomListBox(owner)
{
    std::error_code ec;
    FDirectory = fs::current_path(ec).string();
    Items()->SetSorted(true);
}

void TFileListBox::SetDirectory(const std::string& dir)
{
    FDirectory = dir;
    while (FDirectory.size() > 1 && FDirectory.back() == '/') FDirectory.pop_back();
    Update();
}

void TFileListBox::SetMask(const std::string& mask)
{
    FMask = mask.empty() ? "*.*" : mask;
    Update();
}

void TFileListBox::Update()
{
    std::vector<std::string> patterns;
    std::string p;
    for (char ch : FMask + ";") {
        if (ch == ';') {
            p = rtl::Trim(p);
            if (!p.empty()) patterns.push_back(p == "*.*" ? "*" : p);
            p.clear();
        } else {
            p += ch;
        }
    }
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(FDirectory, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = it->path().filename().string();
        for (const std::string& pat : patterns)
            if (fnmatch(pat.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
                names.push_back(name);
                break;
            }
    }
    Items()->BeginUpdate();
    Items()->Clear();
    for (const std::string& n : names) Items()->Add(n);
    Items()->EndUpdate();
    TCustomListBox::Update();
}

std::string TFileListBox::FileName() const
{
    const int i = ItemIndex();
    if (i < 0) return {};
    return FDirectory + "/" + Items()->Strings(i);
}

void TFileListBox::SetFileName(const std::string& name)
{
    const fs::path p(name);
    if (p.has_parent_path() && p.parent_path().string() != FDirectory) SetDirectory(p.parent_path().string());
    SetItemIndex(Items()->IndexOf(p.filename().string()));
}

void TFileListBox::Dispatch(TMessage& m)
{
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == LBN_SELCHANGE && OnChange) {
        TCustomListBox::Dispatch(m);
        OnChange(this);
        return;
    }
    TCustomListBox::Dispatch(m);
}

} // namespace gui
