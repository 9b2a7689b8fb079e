#include "app/colour_swatch.h"

#include <QMouseEvent>

#include "app/qt_colour.h"

namespace zembrock {

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFixedSize(36, 18);
    setCursor(Qt::PointingHandCursor);
    SetColour(m_colour);
}

void ColourSwatch::SetColour(Colour colour) {
    m_colour = colour;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ToQColor(colour));
    setPalette(colours);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
    QFrame::mouseReleaseEvent(event);
}

}  // namespace zembrock
