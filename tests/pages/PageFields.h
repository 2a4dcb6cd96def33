#pragma once

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

// A page's field as a user reads it: the text of the label named `name`.
inline QString Text(const QWidget& page, const char* name)
{
    const auto* label = page.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

inline bool Enabled(const QWidget& page, const char* name)
{
    const auto* widget = page.findChild<QWidget*>(QString::fromLatin1(name));
    return widget && widget->isEnabled();
}

using FieldTexts = std::initializer_list<std::pair<const char*, const char*>>;

// Each named field shows its text.
inline void ExpectFields(const QWidget& page, FieldTexts shown)
{
    for (const auto& [field, text] : shown)
        EXPECT_EQ(Text(page, field), QString::fromLatin1(text)) << field;
}

template <class Page> void Tick(Page& page, int ticks)
{
    for (int tick = 0; tick < ticks; ++tick)
        page.OnTimer();
}

// A reading's fields show `shown` for three silent ticks; the fourth blanks them.
template <class Page> void ExpectHeldForThreeTicks(Page& page, FieldTexts shown)
{
    for (int tick = 1; tick <= 4; ++tick) {
        page.OnTimer();
        for (const auto& [field, text] : shown)
            EXPECT_EQ(Text(page, field), tick < 4 ? QString::fromLatin1(text) : QString()) << field << tick;
    }
}
