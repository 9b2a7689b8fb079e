#include "app/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zembrock {

QIcon AppIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal unit = size / 16.0;
        // A dark shield with an orange "Z".
        QPainterPath shield;
        shield.moveTo(8 * unit, 0.5 * unit);
        shield.lineTo(15 * unit, 3 * unit);
        shield.cubicTo(15 * unit, 10 * unit, 11 * unit, 14 * unit, 8 * unit, 15.5 * unit);
        shield.cubicTo(5 * unit, 14 * unit, 1 * unit, 10 * unit, 1 * unit, 3 * unit);
        shield.closeSubpath();
        painter.fillPath(shield, QColor(0x23, 0x2E, 0x24));
        painter.setPen(
            QPen(QColor(0xF0, 0x8C, 0x1E), 1.8 * unit, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawPolyline(QPolygonF({QPointF(5 * unit, 4.5 * unit), QPointF(11 * unit, 4.5 * unit),
                                        QPointF(5 * unit, 11 * unit), QPointF(11 * unit, 11 * unit)}));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace zembrock
