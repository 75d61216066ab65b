#pragma once

#include "aids/ean13.h"

#include <QImage>
#include <QWidget>

#include <optional>
#include <string>

class QPainter;

namespace kerfline::ui {

// Paints the symbol's rectangles into `target`, keeping its proportions, black on what is there.
void paintEan13(QPainter& painter, const QRectF& target, const Ean13Symbol& symbol);

// The symbol on white at `pixelsPerModule`; a null image for a code that is no EAN-13 number.
QImage ean13Image(const std::string& code, int pixelsPerModule);

// The barcode picture of the browser (Image1): the selected number as an EAN-13 symbol, or
// nothing when no valid number is selected.
class BarcodeImage : public QWidget {
    Q_OBJECT
public:
    explicit BarcodeImage(QWidget* parent = nullptr);
    void setCode(const std::string& code);
    const std::optional<Ean13Symbol>& symbol() const { return m_symbol; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<Ean13Symbol> m_symbol;
};

}  // namespace kerfline::ui
