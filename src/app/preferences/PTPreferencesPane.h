#pragma once

#include "ui/views/PTStackView.h"

#include <functional>

class PTPreferencesRowView;
class PTSegmentedControl;
class PTSwitchControl;

// A pane of the preferences window: a stack of striped rows, each a title, an optional line of detail and a
// control, between softened separators. Panes live only while the window is open.
class PTPreferencesPane : public PTStackView {
    Q_OBJECT
public:
    static constexpr int Width = 560;

    explicit PTPreferencesPane(const QString& identifier, QWidget* parent = nullptr);
    // The toolbar identifier of the pane.
    const QString& identifier() const { return identifier_; }

    // A row holding the control (or none) on its right; widgets under it take the full width.
    PTPreferencesRowView* addRow(const QString& title, const QString& detail, QWidget* control);
    PTPreferencesRowView* addRow(QWidget* content);
    // A row whose title and detail stand above a body that takes the full width.
    PTPreferencesRowView* addSection(const QString& title, const QString& detail, QWidget* body);
    // A switch row bound to a defaults key (negated: the switch shows the opposite of the stored value).
    PTSwitchControl* addSwitchRow(const QString& title, const QString& detail, const QString& key,
                                  bool negate = false);
    static PTSwitchControl* makeSwitch(const QString& accessibleName);
    // A one-segment push button.
    static PTSegmentedControl* makeButton(const QString& label, const std::function<void()>& handler);
    // Lays the rows out and takes the height they need.
    void finishRows();

private:
    QString identifier_;
};
