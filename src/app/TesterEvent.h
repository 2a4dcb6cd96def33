#pragma once

#include <QEvent>

// Posted to the main dialog by the Tester link's reader thread after it queued
// an event record; it carries no data (the records stay in the link's ring).
constexpr QEvent::Type WM_TESTER_EVENT = static_cast<QEvent::Type>(QEvent::User + 42);
