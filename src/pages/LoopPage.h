#pragma once

#include <QWidget>

class CLoopPage : public QWidget {
    Q_OBJECT
public:
    explicit CLoopPage(QWidget* parent = nullptr);
};
