#pragma once

#include <QLabel>
#include <QWidget>

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
