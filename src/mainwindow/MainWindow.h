#pragma once

#include <QMainWindow>

// The main window "Form1". For now an empty frame; the controls arrive with the call engine.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
};
