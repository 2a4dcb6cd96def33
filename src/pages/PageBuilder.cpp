#include "PageBuilder.h"

#include <QLabel>
#include <QPushButton>

CPageBuilder::CPageBuilder(QWidget* page) : m_page(page), m_units(page->font()) {}

QLabel* CPageBuilder::Caption(const QString& text, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, m_page);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(m_units.Rect(x, y, width, height));
    return label;
}

QLabel* CPageBuilder::SunkenField(int x, int y, int width, int height)
{
    QLabel* field = PlainField(x, y, width, height);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setLineWidth(1);
    return field;
}

QLabel* CPageBuilder::PlainField(int x, int y, int width, int height)
{
    auto* field = new QLabel(m_page);
    field->setGeometry(m_units.Rect(x, y, width, height));
    field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    field->setTextFormat(Qt::PlainText);
    return field;
}

QPushButton* CPageBuilder::Button(const QString& text, int x, int y, int width, int height)
{
    auto* button = new QPushButton(text, m_page);
    button->setGeometry(m_units.Rect(x, y, width, height));
    return button;
}

QRect GraphRectBelow(int top, QSize pageSize)
{
    constexpr int kMargin = 11;
    const int y = top == 0 ? kMargin : top + kMargin;
    return {kMargin, y, pageSize.width() - 2 * kMargin, pageSize.height() - y - kMargin};
}
