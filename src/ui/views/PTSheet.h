#pragma once

#include <QDialog>

// The window of sheets: frameless and translucent, whatever flags it is given; its content view paints the
// sheet. Closing hides it (it is reused).
class PTSheet : public QDialog {
    Q_OBJECT
public:
    explicit PTSheet(QWidget* parent = nullptr, Qt::WindowFlags flags = {});
};
