#pragma once

#include <QWidget>

class CAboutPage : public QWidget {
    Q_OBJECT
public:
    explicit CAboutPage(QWidget* parent = nullptr);
};
