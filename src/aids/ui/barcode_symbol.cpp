#include "aids/ui/barcode_symbol.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kerfline::ui {

void paintEan13(QPainter& painter, const QRectF& target, const Ean13Symbol& symbol)
{
    const double scale = std::min(target.width() / symbol.width, target.height() / symbol.height);
    const QPointF origin(target.left() + (target.width() - symbol.width * scale) / 2,
                         target.top() + (target.height() - symbol.height * scale) / 2);
    painter.save();
    // Bars with soft edges read worse: every edge falls on whole device pixels.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const auto* list : {&symbol.bars, &symbol.digits})
        for (const SymbolRect& r : *list)
            painter.drawRect(QRectF(origin.x() + r.x * scale, origin.y() + r.y * scale, r.width * scale,
                                    r.height * scale));
    painter.restore();
}

QImage ean13Image(const std::string& code, int pixelsPerModule)
{
    const auto symbol = ean13Symbol(code);
    if (!symbol)
        return {};
    QImage image(static_cast<int>(std::ceil(symbol->width * pixelsPerModule)),
                 static_cast<int>(std::ceil(symbol->height * pixelsPerModule)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintEan13(painter, QRectF(0, 0, symbol->width * pixelsPerModule, symbol->height * pixelsPerModule), *symbol);
    return image;
}

BarcodeImage::BarcodeImage(QWidget* parent) : QWidget(parent)
{
    setObjectName("Image1");
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void BarcodeImage::setCode(const std::string& code)
{
    m_symbol = ean13Symbol(code);
    update();
}

QSize BarcodeImage::sizeHint() const
{
    return {339, 213};
}

void BarcodeImage::paintEvent(QPaintEvent*)
{
    if (!m_symbol)
        return;
    QPainter painter(this);
    // Whole pixels per module keep every bar as wide as the code says.
    const int module = std::max(1, static_cast<int>(std::min(width() / m_symbol->width, height() / m_symbol->height)));
    const QSizeF size(m_symbol->width * module, m_symbol->height * module);
    const QPointF corner(std::floor((width() - size.width()) / 2), std::floor((height() - size.height()) / 2));
    paintEan13(painter, QRectF(corner, size), *m_symbol);
}

}  // namespace kerfline::ui
