#include "aids/ui/barcode_sheet_pdf.h"

#include "aids/ui/barcode_symbol.h"
#include "base/ui/text.h"

#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <cstdio>

namespace kerfline::ui {

bool printBarcodeSheet(const BarcodeSheet& sheet, const std::string& pdfPath)
{
    const auto symbol = ean13Symbol(sheet.pKodKreskowy);
    if (!symbol)
        return false;
    // QPrinter writes the file in place; a sheet is written beside it and renamed once whole.
    const QString target = qs(pdfPath);
    const QString partial = target + QStringLiteral(".part");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(partial);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                          QPageLayout::Millimeter));
        printer.setCreator(QStringLiteral("Kerfline"));
        printer.setDocName(qs(sheet.pKodKreskowy));
        QPainter painter;
        if (!painter.begin(&printer))
            return false;
        const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution()).translated(
            -printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
        const double mm = printer.resolution() / 25.4;

        // The layout's fonts: a bold and a plain one of a family every system has.
        QFont bold(QStringLiteral("DejaVu Sans"), 14, QFont::Bold);
        QFont normal(QStringLiteral("DejaVu Sans"), 11);
        double y = 0;
        const auto line = [&](const QFont& font, const std::string& text) {
            painter.setFont(font);
            const double height = painter.fontMetrics().lineSpacing();
            painter.drawText(QRectF(0, y, page.width(), height), Qt::AlignLeft | Qt::AlignVCenter, qs(text));
            y += height;
        };
        line(bold, sheet.pKodKreskowy);
        y += 4 * mm;
        paintEan13(painter, QRectF(0, y, 80 * mm, 80 * mm * symbol->height / symbol->width), *symbol);
        y += 80 * mm * symbol->height / symbol->width + 8 * mm;
        for (const std::string* value : {&sheet.pTryb, &sheet.pSzybkosc, &sheet.pMoc, &sheet.pCzasRozgrz, &sheet.pPauza})
            line(normal, *value);
        y += 6 * mm;
        for (const std::string& value : sheet.pEtykieta)
            line(bold, value);
        y += 6 * mm;
        for (const std::string& design : sheet.projects)
            line(normal, design);
        if (!sheet.pIloscProjektow.empty())
            line(normal, sheet.pIloscProjektow);
        if (!painter.end())
            return false;
    }
    if (!QFileInfo(partial).exists() || QFileInfo(partial).size() == 0)
        return false;
    return std::rename(partial.toStdString().c_str(), pdfPath.c_str()) == 0;
}

}  // namespace kerfline::ui
