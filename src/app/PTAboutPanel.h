#pragma once

#include "ui/views/PTPanel.h"

class QLabel;

// The About panel: icon, name, version and build, copyright with the current year. Made anew for each showing,
// so the year is current; it deletes itself when closed.
class PTAboutPanel : public PTPanel {
    Q_OBJECT
public:
    static inline const QString CopyrightFormat = QStringLiteral("Copyright © %1 The Pictern developers.");

    PTAboutPanel(const QString& version, const QString& build, const QString& distribution, QWidget* parent = nullptr);

    // "Version 2.1 (300)"; a distribution goes before the build: "Version 2.1 (Debian 300)".
    static QString versionText(const QString& version, const QString& build, const QString& distribution);
    QLabel* buildField() const { return buildField_; }
    QLabel* copyrightField() const { return copyrightField_; }

private:
    QLabel* buildField_;
    QLabel* copyrightField_;
};
