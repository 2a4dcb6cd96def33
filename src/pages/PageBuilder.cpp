#include "PageBuilder.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "ValueFont.h"

namespace {
// The original frame line runs through the middle of the title: half an
// 8-unit text line below the template rectangle's top.
constexpr int kFrameLineOffset = 4;
} // namespace

CPageBuilder::CPageBuilder(QWidget* page)
    : m_page(page), m_units(page->font()), m_valueFont(CreateValueFont())
{
}

QLabel* CPageBuilder::Caption(const QString& text, int x, int y, int width, int height)
{
    auto* label = new QLabel(text, m_page);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(m_units.Rect(x, y, width, height));
    return label;
}

QLabel* CPageBuilder::ValueField(const char* name, int x, int y, int width, int height, bool sunken)
{
    QLabel* field = PlainField(x, y, width, height);
    field->setObjectName(QString::fromLatin1(name));
    field->setFont(m_valueFont);
    if (sunken) {
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->setLineWidth(1);
    }
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

CTemperatureField CPageBuilder::TemperatureField(int x, int captionY, int captionWidth, int fieldY,
                                                 int decimals)
{
    constexpr int kFieldWidth = 72;
    QLabel* caption = Caption(QString(), x, captionY, captionWidth);
    caption->setObjectName(QStringLiteral("temperatureLabel"));
    return CTemperatureField(caption, ValueField("temperature", x, fieldY, kFieldWidth), decimals);
}

QPushButton* CPageBuilder::Button(const char* name, const QString& text, int x, int y, int width, int height)
{
    auto* button = new QPushButton(text, m_page);
    button->setGeometry(m_units.Rect(x, y, width, height));
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QGroupBox* CPageBuilder::GroupBox(const QString& title, int x, int y, int width, int height)
{
    auto* box = new QGroupBox(title, m_page);
    const QRect rect = m_units.Rect(x, y, width, height);
    const int insideTop = m_units.Y(y + kFrameLineOffset);
    const int top = std::min(rect.top(), std::max(0, insideTop - box->contentsRect().top()));
    box->setGeometry(rect.left(), top, rect.width(), rect.bottom() + 1 - top);
    return box;
}

QRect GraphRectBelow(int top, QSize pageSize)
{
    constexpr int kMargin = 11;
    const int y = top == 0 ? kMargin : top + kMargin;
    return {kMargin, y, pageSize.width() - 2 * kMargin, pageSize.height() - y - kMargin};
}
