#pragma once

#include <QFrame>

#include "core/colour.h"

namespace zembrock {

// A small framed square filled with a colour; a click asks for another colour.
class ColourSwatch : public QFrame {
    Q_OBJECT

public:
    explicit ColourSwatch(QWidget* parent = nullptr);
    void SetColour(Colour colour);
    Colour CurrentColour() const { return m_colour; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Colour m_colour = kColourBlack;
};

}  // namespace zembrock
