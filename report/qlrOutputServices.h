// The report engine's door to report output: the printers, the paper table
// and the dialogs (password, print, inherit) that the engine calls but that
// belong to report output (reportout/), which builds on this folder.
// reportout/ implements the interface and registers it at start-up; until
// it does, a default serves (the printer through gui::TPrinter, the
// password dialog through the platform's dialog service).
//
// The rule a caller must know: always reach it through OutputServices();
// a registered implementation stays until another replaces it.
//
// Example:
//   std::string typed;
//   if (qlr::OutputServices().InputPassword(typed) && typed == password) ...
#pragma once

#include <memory>
#include <string>

namespace qlr {

// The defaults of the currently selected printer (millimetres).
struct TqlrPrinterDefaults {
    int DefPaper = 9;
    long double DefPaperWidth = 210, DefPaperHeight = 297;
    bool DefLandscape = false;
};

class IqlrOutputServices {
public:
    virtual ~IqlrOutputServices() = default;
    // The modal password dialog ("Password", "Enter the password:"); true
    // when confirmed, with the text typed.
    virtual bool InputPassword(std::string& password) = 0;
    // The paper table: true and the portrait size in millimetres for a
    // listed code; false, outputs untouched, otherwise.
    virtual bool LookupPaperSize(int code, long double& width, long double& height) = 0;
    virtual TqlrPrinterDefaults CurrentPrinterDefaults() = 0;
};

// The services in use (the default until reportout/ registers its own).
IqlrOutputServices& OutputServices();
// Replaces the services; returns the previous registration (nullptr
// restores the default).
std::unique_ptr<IqlrOutputServices> RegisterOutputServices(std::unique_ptr<IqlrOutputServices> services);

} // namespace qlr
