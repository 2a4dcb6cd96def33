#pragma once

#include <QWidget>

class CTransponderPage : public QWidget {
    Q_OBJECT
public:
    explicit CTransponderPage(QWidget* parent = nullptr);
};
