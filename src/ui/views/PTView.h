#pragma once

#include <QMetaObject>
#include <QWidget>

// The base of the kit's drawing views: it redraws when it enters a window and whenever that window moves to another
// screen (whose scale or colours may differ). Subclasses that keep screen-dependent state refresh it in
// viewRequiresScreenUpdate().
class PTView : public QWidget {
    Q_OBJECT
public:
    explicit PTView(QWidget* parent = nullptr);

protected:
    virtual void viewRequiresScreenUpdate();
    bool event(QEvent* event) override;

private:
    void followWindowScreen();

    QMetaObject::Connection screenChanged_;
};
