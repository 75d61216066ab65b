#include "shell/ui/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kerfline::ui {
namespace {

QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64-unit square and scaled, so every size shows the same picture.
    painter.scale(size / 64.0, size / 64.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(38, 50, 66));
    painter.drawRoundedRect(QRectF(1, 1, 62, 62), 10, 10);

    // The foam block, cut along the wire's curve: the part behind the wire is left lighter.
    QPainterPath cut;
    cut.moveTo(14, 50);
    cut.cubicTo(22, 22, 36, 50, 50, 18);
    QPainterPath block;
    block.addRect(QRectF(14, 18, 36, 32));
    QPainterPath below = cut;
    below.lineTo(50, 50);
    below.closeSubpath();
    painter.setBrush(QColor(214, 226, 236));
    painter.drawPath(block.subtracted(below));
    painter.setBrush(QColor(176, 196, 214));
    painter.drawPath(block.intersected(below));

    // The two arms that carry the wire.
    painter.setBrush(QColor(150, 160, 172));
    painter.drawRect(QRectF(7, 8, 5, 48));
    painter.drawRect(QRectF(52, 8, 5, 48));

    // The hot wire along the cut.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 120, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(cut);
    painter.setPen(QPen(QColor(255, 220, 120), 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(cut);
    return pixmap;
}

}  // namespace

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace kerfline::ui
