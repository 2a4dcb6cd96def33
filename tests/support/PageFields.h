#pragma once

#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

// A page's field as a user reads it: the text of the label named `name`.
inline QString Text(const QWidget& page, const char* name)
{
    const auto* label = page.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

// The texts of the named fields, joined by '|'.
inline std::string Fields(const QWidget& page, std::initializer_list<const char*> names)
{
    std::string texts;
    const char* separator = "";
    for (const char* name : names) {
        // Appended piece by piece: g++ 12 at -O3 reports a false -Wrestrict
        // for "|" + std::string.
        texts += separator;
        texts += Text(page, name).toStdString();
        separator = "|";
    }
    return texts;
}

inline bool Enabled(const QWidget& page, const char* name)
{
    const auto* widget = page.findChild<QWidget*>(QString::fromLatin1(name));
    return widget && widget->isEnabled();
}

template <class Page> void Tick(Page& page, int ticks)
{
    for (int tick = 0; tick < ticks; ++tick)
        page.OnTimer();
}

// A reading's fields show `shown` for three silent ticks; the fourth blanks them.
template <class Page>
void ExpectHeldForThreeTicks(Page& page, std::initializer_list<const char*> names, const std::string& shown)
{
    for (int tick = 1; tick <= 4; ++tick) {
        page.OnTimer();
        EXPECT_EQ(Fields(page, names), tick < 4 ? shown : std::string(names.size() - 1, '|')) << tick;
    }
}
