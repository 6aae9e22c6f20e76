#pragma once

#include <QString>

// An installed application as the desktop knows it: what the open-in menus show and what opening needs.
struct PTApplicationInfo {
    QString identifier;      // the desktop-file id ("org.example.Viewer.desktop"), the bundle identifier here
    QString name;            // the display name
    QString iconName;        // a theme icon name or an absolute path; may be empty
    QString desktopFilePath; // where the application is described

    friend bool operator==(const PTApplicationInfo& a, const PTApplicationInfo& b)
    {
        return a.identifier == b.identifier;
    }
};
