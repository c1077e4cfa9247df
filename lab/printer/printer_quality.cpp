// printer_quality: sets a printer's default print quality, as a person would
// in the printer's preferences, so that the report scenarios print at an
// office printer's resolution.
//
// Usage: printer_quality.exe <printer name> <dots per inch>; exits 1 with a
// message on stderr when the printer's defaults cannot be read or written.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int Fail(const char* what)
{
    std::fprintf(stderr, "printer_quality: %s failed (error %lu)\n", what, GetLastError());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: printer_quality <printer name> <dots per inch>\n");
        return 2;
    }
    char* name = argv[1];
    const short dpi = static_cast<short>(std::atoi(argv[2]));

    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(name, &printer, &access))
        return Fail("OpenPrinter");

    int status = 0;
    const LONG size = DocumentPropertiesA(nullptr, printer, name, nullptr, nullptr, 0);
    std::vector<BYTE> current(size > 0 ? size : 0), wanted(size > 0 ? size : 0);
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    auto* info2 = reinterpret_cast<PRINTER_INFO_2A*>(info.data());
    if (size <= 0 ||
        DocumentPropertiesA(nullptr, printer, name, reinterpret_cast<DEVMODEA*>(current.data()), nullptr,
                            DM_OUT_BUFFER) != IDOK) {
        status = Fail("DocumentProperties (read)");
    } else {
        auto* mode = reinterpret_cast<DEVMODEA*>(current.data());
        mode->dmPrintQuality = dpi;
        mode->dmYResolution = dpi;
        mode->dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
        // The driver checks the change against what the printer offers.
        if (DocumentPropertiesA(nullptr, printer, name, reinterpret_cast<DEVMODEA*>(wanted.data()), mode,
                                DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK) {
            status = Fail("DocumentProperties (merge)");
        } else if (needed == 0 || !GetPrinterA(printer, 2, info.data(), needed, &needed)) {
            status = Fail("GetPrinter");
        } else {
            info2->pDevMode = reinterpret_cast<DEVMODEA*>(wanted.data());
            info2->pSecurityDescriptor = nullptr;
            if (!SetPrinterA(printer, 2, info.data(), 0))
                status = Fail("SetPrinter");
        }
    }
    ClosePrinter(printer);
    return status;
}
