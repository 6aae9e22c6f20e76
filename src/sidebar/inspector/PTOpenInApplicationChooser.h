#pragma once

#include "foundation/PTApplicationInfo.h"

#include <QDialog>
#include <QList>

#include <optional>

class QIcon;
class QLineEdit;
class QListWidget;

// The "Other..." chooser of the open-in control: the shown applications, sorted by name, narrowed by a filter
// that matches names and desktop ids.
class PTOpenInApplicationChooser : public QDialog {
    Q_OBJECT
public:
    PTOpenInApplicationChooser(const QList<PTApplicationInfo>& applications, QWidget* parent = nullptr);

    // Runs the chooser modally; nothing when it was cancelled or nothing was chosen.
    static std::optional<PTApplicationInfo> choose(const QList<PTApplicationInfo>& applications, QWidget* parent);

    // The application's icon: a theme icon name or a file; null when it has none.
    static QIcon iconForApplication(const PTApplicationInfo& application);

    QLineEdit* filterField() const { return filter_; }
    QListWidget* list() const { return list_; }
    std::optional<PTApplicationInfo> chosenApplication() const;

private:
    void applyFilter(const QString& text);

    QList<PTApplicationInfo> applications_;
    QLineEdit* filter_;
    QListWidget* list_;
};
