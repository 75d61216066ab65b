// libFuzzer target: any bytes as a barcode project file (Windows-1250 INI text), and as the
// configuration file its label lines come from. Besides crashes it traps when a project written
// back does not read as itself.
#include "aids/barcode_label.h"
#include "aids/barcode_project.h"
#include "aids/ini_file.h"
#include "aids/windows_1250.h"

#include <cstdint>
#include <string_view>

namespace {

using namespace kerfline;

void check(bool promise)
{
    if (!promise)
        __builtin_trap();
}

bool same(const BarcodeProject& a, const BarcodeProject& b)
{
    return a.configFileName == b.configFileName && a.designs == b.designs && a.labelLines == b.labelLines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const IniDocument document = IniDocument::parse(fromWindows1250(bytes));
    const BarcodeProject project = barcodeProjectFrom(document);

    // The whole document, other sections included, reads back with the same project.
    check(same(barcodeProjectFrom(IniDocument::parse(document.text())), project));
    // So does the project alone, written as the browser's Save writes it.
    IniDocument written;
    putBarcodeProject(written, project, true);
    check(same(barcodeProjectFrom(IniDocument::parse(written.text())), project));

    for (const char* name : {"Mode", "szybkoscObrobki", "work_power", "CzasRozgrzewania", "Pauza_w_kacie"})
        check(konfigValueText(bytes, name).size() <= size);
    return 0;
}
