#pragma once

#include <QString>

// The "relaunch" tool that starts the application again once this process has ended.
class PTRelaunchTool {
public:
    // Beside the executable (a build tree), else in ../libexec/pictern (an installed tree); empty when missing.
    static QString path();
    // Starts the tool detached with the application and the process id; false when it could not start.
    static bool start(const QString& application, qint64 pid);
};
