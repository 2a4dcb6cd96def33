#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Converts the dialog-unit rectangles of the dialog templates into pixels from
// the dialog font's metrics: a horizontal unit is a quarter of the average
// character width, a vertical unit an eighth of the character height.
class CDialogUnits {
  public:
    explicit CDialogUnits(const QFont& font);

    // The font every template asks for ("MS Shell Dlg" 8 point); here the
    // system's sans-serif face at 8 points.
    static QFont DialogFont();

    int X(int units) const;
    int Y(int units) const;
    QSize Size(int width, int height) const;
    QRect Rect(int x, int y, int width, int height) const;

  private:
    double m_baseX; // average character width in pixels
    double m_baseY; // character height in pixels
};
