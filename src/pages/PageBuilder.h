#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include "DialogUnits.h"
#include "TemperatureField.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

// The graph's place on a page of `pageSize`: the whole width and the rest of
// the height below `top` (0 for a page that is all graph), 11 pixels from
// every edge and from the row above.
QRect GraphRectBelow(int top, QSize pageSize);

// Places a page's controls from the dialog-unit rectangles of its template,
// converted with the page's (dialog) font.
class CPageBuilder {
  public:
    explicit CPageBuilder(QWidget* page);

    // A one-line caption, as the labels above the value fields.
    QLabel* Caption(const QString& text, int x, int y, int width, int height = 8);
    // A value field named `name`: text in the large value font, empty until
    // the page fills it, in a sunken frame unless `sunken` is false.
    QLabel* ValueField(const char* name, int x, int y, int width, int height = 18, bool sunken = true);
    // A text field without a frame in the page's own font.
    QLabel* PlainField(int x, int y, int width, int height);
    // The temperature caption at (x, captionY) and its value field below at
    // fieldY, labelled for degrees Celsius.
    CTemperatureField TemperatureField(int x, int captionY, int captionWidth, int fieldY, int decimals);
    // A push button named `name`.
    QPushButton* Button(const char* name, const QString& text, int x, int y, int width, int height);
    // A control of type T (a list, an edit field) named `name`.
    template <class T> T* Control(const char* name, int x, int y, int width, int height)
    {
        auto* control = new T(m_page);
        control->setGeometry(Rect(x, y, width, height));
        control->setObjectName(QString::fromLatin1(name));
        return control;
    }
    // A titled frame around the controls of its template rectangle. Qt's
    // title takes more height than the template allows for, so the box is
    // raised (not above the page) until its inside begins where the original
    // frame line ran; its bottom edge stays.
    QGroupBox* GroupBox(const QString& title, int x, int y, int width, int height);

    QRect Rect(int x, int y, int width, int height) const { return m_units.Rect(x, y, width, height); }

  private:
    QWidget* m_page;
    CDialogUnits m_units;
    QFont m_valueFont;
};
