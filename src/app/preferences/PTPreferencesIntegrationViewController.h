#pragma once

#include "app/preferences/PTPreferencesPane.h"

#include <QTimer>

class QLabel;
class QMenu;
class PTSegmentedControl;
class PTSheetViewPopupButton;

// The design application's plug-in: its host's icon, the carried version, the format the plug-in places icons in,
// and installing or updating it. While shown, the pane looks every two seconds whether the plug-in is installed.
class PTPreferencesIntegrationViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("integration");
    // What the format pop-up offers, by the tag stored as the plug-in's "format": SVG, PNG, PDF.
    enum Format { SVGFormat = 1, PNGFormat = 2, PDFFormat = 3 };

    explicit PTPreferencesIntegrationViewController(QWidget* parent = nullptr);

    // Sets the install control's label and whether it can be used, from the plug-in's state.
    void checkInstallation();
    PTSegmentedControl* installControl() const { return install_; }
    PTSheetViewPopupButton* formatControl() const { return format_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void installSketchPlugin();

    QLabel* hostImage_ = nullptr;
    PTSheetViewPopupButton* format_ = nullptr;
    QMenu* formatMenu_ = nullptr;
    PTSegmentedControl* install_ = nullptr;
    QTimer installationCheckTimer_;
};
