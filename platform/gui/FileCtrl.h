// A list box of the files of one folder that match a mask.
#pragma once

#include <string>

#include "platform/gui/StdCtrls.h"

namespace gui {

class TFileListBox : public TCustomListBox {
public:
    explicit TFileListBox(rtl::TComponent* owner);
    // The folder listed (the current folder by default).
    const std::string& Directory() const { return FDirectory; }
    void SetDirectory(const std::string& dir);
    // Patterns separated by ";" ("*.map;*.png"); "*.*" and "*" list every file.
    const std::string& Mask() const { return FMask; }
    void SetMask(const std::string& mask);
    // The selected file with its folder; empty when none.
    std::string FileName() const;
    void SetFileName(const std::string& name);
    // Lists the folder again.
    void Update() override;
    rtl::TNotifyEvent OnChange;
    void Dispatch(TMessage& m) override;

private:
    std::string FDirectory;
    std::string FMask = "*.*";
};

} // namespace gui
