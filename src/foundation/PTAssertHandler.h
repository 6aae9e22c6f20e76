#pragma once

class QObject;

// Assertion failures made visible in the log with where they happened. Debug builds still stop at them;
// release builds compile assertions out (QT_NO_DEBUG), and failures reported here are logged and execution
// goes on.
class PTAssertHandler {
public:
    // Hooks into Qt's message handling: a fatal message (a failed Q_ASSERT, qFatal) is first logged as an
    // assertion failure with its function, file and line, then handed on to the handler that was installed
    // before, after which Qt aborts. Other messages pass through unchanged.
    static void install();
    // Puts the earlier handler back.
    static void uninstall();

    // Logs "PTAssertHandler Failure: Method <method> for object <object> in <file>#<line>"; aborts in debug builds.
    static void handleFailureInMethod(const char* method, const QObject* object, const char* file, int line);
    // Logs "PTAssertHandler Failure: Function (<function>) in <file>#<line>"; aborts in debug builds.
    static void handleFailureInFunction(const char* function, const char* file, int line);
};
